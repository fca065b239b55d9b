// The name index: probe starts, probes, look-ups and growth.
//
// Netlists mostly number their names (n17, n18, g_4032, _4032_) in about
// the order the records are made, and a statement mostly refers to recent
// ones. A name that holds a number therefore starts its probe at the hash of
// the rest of the name plus that number: names numbered one after the other sit side by side,
// and the look-ups of a statement keep to a few cache lines instead of missing the
// cache on every name. A probe that finds its first cache line taken moves
// on to lines picked at random, so that a name whose start falls inside such
// a run of neighbours is placed a few probes away, not at the run's end.
#include "name_index.h"

#include <cstring>
#include <functional>
#include <utility>

namespace {


constexpr std::uint32_t long_name = 15;

// The first eight bytes of a name, zero-padded past its end. Fixed-size
// loads that may overlap, assembled in registers: a copy of a variable
// number of bytes into a word would stall the load of that word.
std::uint64_t word_at(const char* at, std::size_t left)
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

// Where the probe for `name` starts, as 28 bits: the hash of the name
// without its last run of one to eighteen digits, plus the number those
// digits write; the hash of the whole name when it has no such run. Digits
// need not end the name: synthesis tools write names like _4032_, and those
// number their records just as n4032 does. (n7 and n007 start at the same
// slot; their probes part after the first cache line.) key_of takes it for
// names longer than eight bytes.
std::uint32_t start_of(std::string_view name)
{
    constexpr std::size_t most_digits = 18;
    const auto is_digit = [&name](std::size_t i) {
        return static_cast<unsigned char>(name[i] - '0') < 10;
    };
    std::size_t end = name.size();  // of the digits
    while (end > 0 && !is_digit(end - 1))
        --end;
    std::size_t digits = 0;
    while (digits < end && digits <= most_digits && is_digit(end - 1 - digits))
        ++digits;
    if (digits == 0 || digits > most_digits)
        return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name) >> 36);
    const std::size_t prefix_length = end - digits;
    std::uint64_t number = 0;
    for (std::size_t i = prefix_length; i < end; ++i)
        number = number * 10 + static_cast<std::uint64_t>(name[i] - '0');
    std::uint64_t rest_hash = std::hash<std::string_view>{}(name.substr(0, prefix_length));
    if (end < name.size())
        rest_hash ^= std::hash<std::string_view>{}(name.substr(end)) * 0x9e3779b97f4a7c15ull;
    return static_cast<std::uint32_t>((rest_hash >> 36) + number) & 0x0fffffffu;
}

// start_of for a name of at most eight bytes, from its bytes in `head`,
// without a pass over its characters: netlist names are mostly that short.
// Digits are found in all eight bytes at once (a name the scanner reads has
// no byte above 0x7f; any other name still gets one fixed start), and the
// bytes around the number are mixed in registers instead of hashed.
std::uint32_t start_of_short(std::uint64_t head, std::size_t length)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t high = 0x80 * ones;
    const std::uint64_t at_least_0 = ((head | high) - 0x30 * ones) & high;
    const std::uint64_t at_most_9 = ((0x39 * ones | high) - head) & high;
    const std::uint64_t in_name = length == 8 ? high : ((std::uint64_t{1} << 8 * length) - 1) & high;
    const std::uint64_t digit = in_name & at_least_0 & at_most_9;
    std::uint64_t rest = head;
    std::uint64_t number = 0;
    bool numbered = false;
    if (digit) {
        numbered = true;
        // The number is the last run of digits: from the byte after the last
        // other byte before the last digit, up to that digit.
        const std::size_t last_digit = (63 - __builtin_clzll(digit)) / 8;
        const std::uint64_t before = in_name & ~digit & ((std::uint64_t{1} << 8 * last_digit) - 1);
        const std::size_t prefix_length = before ? (63 - __builtin_clzll(before)) / 8 + 1 : 0;
        for (std::size_t i = prefix_length; i <= last_digit; ++i)
            number = number * 10 + ((head >> 8 * i) & 0xf);
        const std::uint64_t prefix =
            prefix_length == 0 ? 0 : head & (~std::uint64_t{0} >> (64 - 8 * prefix_length));
        const std::uint64_t suffix = last_digit == 7 ? 0 : head >> 8 * (last_digit + 1);
        rest = prefix | (prefix_length == 0 ? suffix : suffix << 8 * prefix_length);
    }
    std::uint64_t mixed = (rest ^ (numbered ? 0 : length << 59)) * 0x9e3779b97f4a7c15ull;
    mixed ^= mixed >> 29;
    mixed *= 0xbf58476d1ce4e5b9ull;
    mixed ^= mixed >> 32;
    return static_cast<std::uint32_t>((mixed >> 36) + number) & 0x0fffffffu;
}

NAME_SLOT key_of(std::string_view name)
{
    NAME_SLOT key;
    key.head = word_at(name.data(), name.size());
    if (name.size() <= 8) {
        const auto length = static_cast<std::uint32_t>(name.size());
        key.tag = start_of_short(key.head, length) << 4 | length;
    } else {
        key.tag = start_of(name) << 4 | long_name;
    }
    return key;
}

std::size_t home_of(std::uint32_t tag, std::size_t mask)
{
    return (tag >> 4) & mask;
}

// The slots a name's probe visits: the four slots of its start's group (one
// cache line) from its start on, then the same places in groups picked at
// random from the whole key, so that a probe starting inside a long run of
// numbered neighbours leaves it at once and names starting at one slot go
// separate ways. After a number of random groups that a table at most three
// quarters full never needs in practice, the groups follow one another,
// which is sure to reach a free slot.
struct PROBE {
    static constexpr std::size_t random_groups = 64;
    std::size_t at;
    std::size_t mask;
    std::uint64_t seed;
    std::size_t step = 0;

    PROBE(const NAME_SLOT& key, std::size_t slot_mask)
        : at(home_of(key.tag, slot_mask)), mask(slot_mask),
          seed((key.head ^ key.tag) * 0x9e3779b97f4a7c15ull)
    {
    }
    void next()
    {
        step += 1;
        if (step & 3) {
            at = (at & ~std::size_t{3}) | ((at + 1) & 3);
        } else if (step <= 4 * random_groups) {
            std::uint64_t mixed = seed + step * 0xbf58476d1ce4e5b9ull;
            mixed ^= mixed >> 31;
            mixed *= 0x94d049bb133111ebull;
            mixed ^= mixed >> 29;
            at = (static_cast<std::size_t>(mixed) & mask & ~std::size_t{3}) | (at & 3);
        } else {
            at = (at + 4) & mask;
        }
    }
};

// The record position a taken slot holds.
std::size_t position_in(const NAME_SLOT& slot)
{
    return (slot.position & ~name_mark) - 1;
}

// True when `slot` holds `name`; only a long name needs its record.
bool holds(const NAME_SLOT& slot, const NAME_SLOT& key, std::string_view name, NAME_AT name_at)
{
    if (slot.tag != key.tag || slot.head != key.head)
        return false;
    return (key.tag & 0xfu) != long_name || name_at(position_in(slot)) == name;
}


// A new index starts with 64 slots, so that a small design touches a page
// or two; it doubles from there.
void grow(NAME_INDEX& index)
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

} // namespace

NAME_ENTRY index_entry(NAME_INDEX& index, std::string_view name, std::size_t new_position,
                       NAME_AT name_at)
{
    // At most three quarters full, so that probe runs stay short.
    if ((index.count + 1) * 4 > index.slots.size() * 3)
        grow(index);
    NAME_SLOT key = key_of(name);
    for (PROBE probe(key, index.slots.size() - 1);; probe.next()) {
        NAME_SLOT& slot = index.slots[probe.at];
        if (slot.position == 0) {
            key.position = static_cast<std::uint32_t>(new_position + 1);
            slot = key;
            index.count += 1;
            return {new_position, &slot};
        }
        if (holds(slot, key, name, name_at))
            return {position_in(slot), &slot};
    }
}

bool index_find(const NAME_INDEX& index, std::string_view name, NAME_AT name_at,
                std::size_t& position)
{
    if (index.slots.empty())
        return false;
    const NAME_SLOT key = key_of(name);
    for (PROBE probe(key, index.slots.size() - 1);; probe.next()) {
        const NAME_SLOT& slot = index.slots[probe.at];
        if (slot.position == 0)
            return false;
        if (holds(slot, key, name, name_at)) {
            position = position_in(slot);
            return true;
        }
    }
}

NAME_SLOT index_key(std::string_view name)
{
    return key_of(name);
}

void index_prefetch(const NAME_INDEX& index, const NAME_SLOT& key)
{
    if (!index.slots.empty())
        __builtin_prefetch(&index.slots[home_of(key.tag, index.slots.size() - 1)]);
}
