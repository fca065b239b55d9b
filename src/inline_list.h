// A list of at most N items held in place, with no allocation: a gate's
// input pins (a cell has at most two inputs).
#pragma once
#include <cstddef>

template <typename ITEM, std::size_t N>
struct INLINE_LIST {
    ITEM items[N];
    std::size_t count = 0;
    std::size_t size() const { return count; }
    // The next item, default-made; the caller must stay within N.
    ITEM& add() { return items[count++]; }
    ITEM* operator[](std::size_t i) { return &items[i]; }
    const ITEM* operator[](std::size_t i) const { return &items[i]; }
    ITEM* begin() { return items; }
    ITEM* end() { return items + count; }
    const ITEM* begin() const { return items; }
    const ITEM* end() const { return items + count; }
};
