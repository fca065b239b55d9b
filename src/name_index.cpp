// Growth of the name index.
#include "name_index.h"

#include <utility>

// A new index starts with 64 slots, so that a small design touches a page
// or two; it doubles from there.
void name_index_detail::grow(NAME_INDEX& index)
{
    auto old = std::move(index.slots);
    index.slots.assign(old.empty() ? 64 : old.size() * 2, NAME_SLOT{});
    for (const NAME_SLOT& slot : old) {
        if (slot.position == 0)
            continue;
        PROBE probe(slot, index.slots.size() - 1);
        while (index.slots[probe.at].position != 0)
            probe.next();
        index.slots[probe.at] = slot;
    }
}
