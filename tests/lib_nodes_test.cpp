// Library map nodes: carved side by side, given back and used again by size.
#include "lib_nodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

namespace {

TEST(lib_nodes, are_aligned_distinct_and_used_again_by_size)
{
    std::map<char*, std::size_t> taken;
    for (std::size_t size : {112, 120, 8, 256, 257, 4096}) {
        char* node = static_cast<char*>(lib_node_allocate(size));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(node) % 16, 0u) << size;
        EXPECT_TRUE(taken.emplace(node, size).second) << size;
    }
    void* first = lib_node_allocate(112);
    lib_node_release(first, 112);
    EXPECT_NE(lib_node_allocate(128), first);  // another size class
    EXPECT_EQ(lib_node_allocate(100), first);  // 100 and 112 share one
    // A thousand nodes fill several blocks; none overlaps the one before.
    char* last = nullptr;
    for (int i = 0; i < 1000; ++i) {
        char* node = static_cast<char*>(lib_node_allocate(240));
        EXPECT_TRUE(!last || node >= last + 240 || node + 240 <= last) << i;
        last = node;
    }
    for (const auto& [node, size] : taken)
        lib_node_release(node, size);
}

} // namespace
