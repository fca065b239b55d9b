// Open-addressing hash index from a name to the position of a record that
// carries that name, for the millions of net and instance look-ups of a
// netlist read. A slot keeps the name's first eight bytes, so a name of up
// to eight bytes is matched without touching its record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

struct NAME_SLOT {
    std::uint64_t head = 0;      // first eight bytes of the name, zero-padded
    std::uint32_t tag = 0;       // 28 hash bits, then the length (15: longer than 8)
    std::uint32_t position = 0;  // record position + 1; 0 marks an empty slot
};

struct NAME_INDEX {
    std::vector<NAME_SLOT> slots;
    std::size_t count = 0;
};

namespace name_index_detail {

constexpr std::uint32_t long_name = 15;

// The first eight bytes of a name, zero-padded past its end. Fixed-size
// loads that may overlap, assembled in registers: a copy of a variable
// number of bytes into a word would stall the load of that word.
inline std::uint64_t word_at(const char* at, std::size_t left)
{
    const auto load = [at]<typename WORD>(WORD, std::size_t offset) -> std::uint64_t {
        WORD word;
        std::memcpy(&word, at + offset, sizeof word);
        return word;
    };
    if (left >= 8)
        return load(std::uint64_t{}, 0);
    if (left >= 4)
        return load(std::uint32_t{}, 0) | load(std::uint32_t{}, left - 4) << 8 * (left - 4);
    if (left == 0)
        return 0;
    return load(std::uint8_t{}, 0) | load(std::uint8_t{}, left / 2) << 8 * (left / 2) |
           load(std::uint8_t{}, left - 1) << 8 * (left - 1);
}

inline NAME_SLOT key_of(std::string_view name)
{
    NAME_SLOT key;
    key.head = word_at(name.data(), name.size());
    const std::uint64_t hash = std::hash<std::string_view>{}(name);
    const std::uint32_t length = name.size() <= 8 ? static_cast<std::uint32_t>(name.size())
                                                  : long_name;
    key.tag = (static_cast<std::uint32_t>(hash >> 32) & ~0xfu) | length;
    return key;
}

inline std::size_t home_of(std::uint32_t tag, std::size_t mask)
{
    return (tag >> 4) & mask;
}

void grow(NAME_INDEX& index);

// True when `slot` holds `name`; only a long name needs its record.
template <typename NAME_AT>
bool holds(const NAME_SLOT& slot, const NAME_SLOT& key, std::string_view name, NAME_AT name_at)
{
    if (slot.tag != key.tag || slot.head != key.head)
        return false;
    return (key.tag & 0xfu) != long_name || name_at(slot.position - 1) == name;
}

} // namespace name_index_detail

// Returns the position recorded under `name`; when there is none, records
// `new_position` under it and returns that. `name_at(position)` gives the
// name of the record at a position.
template <typename NAME_AT>
std::size_t index_find_or_add(NAME_INDEX& index, std::string_view name, std::size_t new_position,
                              NAME_AT name_at)
{
    using namespace name_index_detail;
    // At most three quarters full, so that probe runs stay short.
    if ((index.count + 1) * 4 > index.slots.size() * 3)
        grow(index);
    NAME_SLOT key = key_of(name);
    const std::size_t mask = index.slots.size() - 1;
    for (std::size_t at = home_of(key.tag, mask);; at = (at + 1) & mask) {
        const NAME_SLOT& slot = index.slots[at];
        if (slot.position == 0) {
            key.position = static_cast<std::uint32_t>(new_position + 1);
            index.slots[at] = key;
            index.count += 1;
            return new_position;
        }
        if (holds(slot, key, name, name_at))
            return slot.position - 1;
    }
}

// Finds `name` without recording it; false when absent.
template <typename NAME_AT>
bool index_find(const NAME_INDEX& index, std::string_view name, NAME_AT name_at,
                std::size_t& position)
{
    using namespace name_index_detail;
    if (index.slots.empty())
        return false;
    const NAME_SLOT key = key_of(name);
    const std::size_t mask = index.slots.size() - 1;
    for (std::size_t at = home_of(key.tag, mask);; at = (at + 1) & mask) {
        const NAME_SLOT& slot = index.slots[at];
        if (slot.position == 0)
            return false;
        if (holds(slot, key, name, name_at)) {
            position = slot.position - 1;
            return true;
        }
    }
}

// The look-up key of a name, for index_prefetch.
inline NAME_SLOT index_key(std::string_view name)
{
    return name_index_detail::key_of(name);
}

// Starts fetching the slot where a look-up of the name with key `key`
// begins, so that a look-up made a little later finds it in cache.
inline void index_prefetch(const NAME_INDEX& index, const NAME_SLOT& key)
{
    using namespace name_index_detail;
    if (!index.slots.empty())
        __builtin_prefetch(&index.slots[home_of(key.tag, index.slots.size() - 1)]);
}
