// The name index behind net and instance look-ups: names that share their
// first eight bytes, names of exactly eight, the empty name, and growth.
#include "name_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(name_index, finds_every_name_it_recorded_and_no_other)
{
    // Numbers that start at one slot (n7, n007), names of digits only, and
    // numbers too long to add.
    const std::vector<std::string> names = {"", "a", "abcdefgh", "abcdefgh1", "abcdefgh2",
                                            "abcdefghij_long_name", "abcdefgi", "A", "n7",
                                            "n007", "n0007", "123", "0123",
                                            "x1234567890123456789", "9999999999999999999999"};
    static std::vector<std::string> stored;
    NAME_INDEX index;
    const NAME_AT name_at = [](std::size_t position) -> std::string_view {
        return stored[position];
    };
    // Enough names to grow the index several times past its first size.
    for (int i = 0; i < 5000; ++i)
        stored.push_back("net" + std::to_string(i) + (i % 3 ? "" : "_with_a_long_tail"));
    stored.insert(stored.end(), names.begin(), names.end());
    // Short names that differ in one byte only, at each place of each length.
    for (std::size_t length = 1; length < 8; ++length)
        for (std::size_t at = 0; at < length; ++at) {
            std::string name = std::string("zyxwvut").substr(0, length);
            name[at] = '#';
            stored.push_back(name);
        }
    stored.push_back(std::string("ab\0", 3));
    stored.push_back(std::string("ab", 2));
    for (std::size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(index_entry(index, stored[i], i, name_at).position, i) << stored[i];
    for (std::size_t i = 0; i < stored.size(); ++i) {
        std::size_t position = 0;
        ASSERT_TRUE(index_find(index, stored[i], name_at, position)) << stored[i];
        EXPECT_EQ(position, i);
        EXPECT_EQ(index_entry(index, stored[i], stored.size(), name_at).position, i);
    }
    std::size_t position = 0;
    for (const char* absent : {"abcdefgh3", "abcdefg", "net5000", "net3", "abcdefghij_long_namf",
                               "zyxwvut", "zyx", "$", "n07", "1234567890123456789"})
        EXPECT_FALSE(index_find(index, absent, name_at, position)) << absent;
}

// A probe that meets only taken slots still reaches the one free slot.
TEST(name_index, a_probe_reaches_the_last_free_slot)
{
    static const std::vector<std::string> stored = {"n1", "n2"};
    const NAME_AT name_at = [](std::size_t position) -> std::string_view {
        return stored[position];
    };
    NAME_INDEX index;
    index_entry(index, stored[0], 0, name_at);  // makes the first table
    for (std::size_t free_slot : {std::size_t{0}, index.slots.size() / 2, index.slots.size() - 1}) {
        // Every slot taken by a record that matches no name, but one.
        for (NAME_SLOT& slot : index.slots)
            slot = NAME_SLOT{~std::uint64_t{0}, 0, 1};
        index.slots[free_slot] = NAME_SLOT{};
        index.count = 0;  // so that the look-up does not grow the table first
        EXPECT_EQ(index_entry(index, stored[1], 1, name_at).position, 1u);
        EXPECT_EQ(index.slots[free_slot].position, 2u);
        std::size_t position = 0;
        EXPECT_TRUE(index_find(index, stored[1], name_at, position));
        EXPECT_EQ(position, 1u);
    }
}

// A marked name keeps its mark and its position through the growth of the
// table, and the mark hides from neither look-up.
TEST(name_index, a_mark_stays_with_its_name)
{
    static std::vector<std::string> stored;
    const NAME_AT name_at = [](std::size_t position) -> std::string_view {
        return stored[position];
    };
    NAME_INDEX index;
    for (int i = 0; i < 3000; ++i) {
        stored.push_back(i % 2 ? "n" + std::to_string(i) : "long_name_" + std::to_string(i));
        NAME_ENTRY entry = index_entry(index, stored.back(), stored.size() - 1, name_at);
        if (i % 3 == 0)
            entry.slot->position |= name_mark;
    }
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const NAME_ENTRY entry = index_entry(index, stored[i], stored.size(), name_at);
        EXPECT_EQ(entry.position, i) << stored[i];
        EXPECT_EQ((entry.slot->position & name_mark) != 0, i % 3 == 0) << stored[i];
        std::size_t position = 0;
        EXPECT_TRUE(index_find(index, stored[i], name_at, position));
        EXPECT_EQ(position, i);
    }
}

} // namespace
