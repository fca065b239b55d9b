// Library map nodes: blocks carved in order, a free list per size.
#include "lib_nodes.h"

#include <array>
#include <new>

namespace {

constexpr std::size_t node_alignment = 16;
// Larger requests (a map's nodes are far smaller) go to the heap one by one.
constexpr std::size_t largest_node = 256;
// Blocks of 16 KiB: a few for a library of a realistic size, and little
// left untouched at the end of the last.
constexpr std::size_t block_size = std::size_t{1} << 14;

struct FREE_NODE {
    FREE_NODE* next;
};

struct NODE_BLOCKS {
    // Each block starts with the address of the one before, so that all stay
    // reachable until the process ends.
    void* last = nullptr;
    char* next = nullptr;  // the first byte not yet carved
    char* end = nullptr;
    std::array<FREE_NODE*, largest_node / node_alignment + 1> free{};
};

NODE_BLOCKS blocks;

std::size_t rounded(std::size_t size)
{
    return (size + node_alignment - 1) / node_alignment * node_alignment;
}

void new_block()
{
    char* block = static_cast<char*>(::operator new(block_size));
    blocks.last = ::new (block) void*(blocks.last);
    blocks.next = block + node_alignment;
    blocks.end = block + block_size;
}

} // namespace

void* lib_node_allocate(std::size_t size)
{
    size = rounded(size);
    if (size > largest_node)
        return ::operator new(size);
    FREE_NODE*& free = blocks.free[size / node_alignment];
    if (free) {
        FREE_NODE* node = free;
        free = node->next;
        return node;
    }
    if (static_cast<std::size_t>(blocks.end - blocks.next) < size)
        new_block();
    void* node = blocks.next;
    blocks.next += size;
    return node;
}

void lib_node_release(void* node, std::size_t size) noexcept
{
    size = rounded(size);
    if (size > largest_node) {
        ::operator delete(node);
        return;
    }
    FREE_NODE*& free = blocks.free[size / node_alignment];
    free = ::new (node) FREE_NODE{free};
}
