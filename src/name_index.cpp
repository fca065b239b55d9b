// Growth of the name index.
#include "name_index.h"

#include <utility>

void name_index_detail::grow(NAME_INDEX& index)
{
    std::vector<NAME_SLOT> old = std::move(index.slots);
    index.slots.assign(old.empty() ? 1024 : old.size() * 2, NAME_SLOT{});
    const std::size_t mask = index.slots.size() - 1;
    for (const NAME_SLOT& slot : old) {
        if (slot.position == 0)
            continue;
        std::size_t at = home_of(slot.tag, mask);
        while (index.slots[at].position != 0)
            at = (at + 1) & mask;
        index.slots[at] = slot;
    }
}
