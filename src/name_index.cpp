// Growth of the name index.
#include "name_index.h"

#include <utility>

void name_index_detail::grow(NAME_INDEX& index)
{
    auto old = std::move(index.slots);
    index.slots.assign(old.empty() ? 1024 : old.size() * 2, NAME_SLOT{});
    for (const NAME_SLOT& slot : old) {
        if (slot.position == 0)
            continue;
        PROBE probe(slot, index.slots.size() - 1);
        while (index.slots[probe.at].position != 0)
            probe.next();
        index.slots[probe.at] = slot;
    }
}
