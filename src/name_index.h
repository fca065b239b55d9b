// Open-addressing hash index from a name to the position of a record that
// carries that name, for the millions of net and instance look-ups of a
// netlist read. A slot keeps the name's first eight bytes, so a name of up
// to eight bytes is matched without touching its record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

struct NAME_SLOT {
    std::uint64_t head = 0;      // first eight bytes of the name, zero-padded
    std::uint32_t tag = 0;       // 28 bits of probe start, then the length (15: longer than 8)
    std::uint32_t position = 0;  // record position + 1, and name_mark; 0 marks an empty slot
};

// One bit of a slot that the index's owner may set for a name: the slot is
// in cache right after a look-up, where the name's record seldom is.
// Positions stay below it.
constexpr std::uint32_t name_mark = 0x80000000u;

// Slot storage on cache-line boundaries, so that a group of four slots is
// exactly one cache line.
template <typename T>
struct LINE_ALIGNED_ALLOCATOR {
    using value_type = T;
    static constexpr std::align_val_t line{64};
    LINE_ALIGNED_ALLOCATOR() = default;
    template <typename U>
    LINE_ALIGNED_ALLOCATOR(const LINE_ALIGNED_ALLOCATOR<U>&) {}
    T* allocate(std::size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), line)); }
    void deallocate(T* slots, std::size_t) { ::operator delete(slots, line); }
    bool operator==(const LINE_ALIGNED_ALLOCATOR&) const { return true; }
};

struct NAME_INDEX {
    std::vector<NAME_SLOT, LINE_ALIGNED_ALLOCATOR<NAME_SLOT>> slots;
    std::size_t count = 0;
};

// The name of the record at a position; the index keeps no names of its own.
using NAME_AT = std::string_view (*)(std::size_t position);

// The position recorded under `name`, with the name's slot, which stays
// where it is until the next name is added; when there is none, records
// `new_position` under it first.
struct NAME_ENTRY {
    std::size_t position;
    NAME_SLOT* slot;
};
NAME_ENTRY index_entry(NAME_INDEX& index, std::string_view name, std::size_t new_position,
                       NAME_AT name_at);
// Finds `name` without recording it; false when absent.
bool index_find(const NAME_INDEX& index, std::string_view name, NAME_AT name_at,
                std::size_t& position);
// The look-up key of a name, for index_prefetch.
NAME_SLOT index_key(std::string_view name);
// Starts fetching the slot where a look-up of the name with key `key`
// begins, so that a look-up made a little later finds it in cache.
void index_prefetch(const NAME_INDEX& index, const NAME_SLOT& key);
