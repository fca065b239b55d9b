// The allocator of the library maps' nodes: a cell's attribute entries and
// the cells themselves. A library's nodes are made while it is read and kept
// until the run ends, so they are carved side by side out of a few blocks
// instead of one heap allocation each; a node given back is kept on a list
// of its size and used again. Every LIB_NODES is equal to every other, so
// the maps copy, move and swap as with the standard allocator.
#pragma once
#include <cstddef>

// `size` bytes at an alignment of 16; lib_node_release gives them back.
void* lib_node_allocate(std::size_t size);
void lib_node_release(void* node, std::size_t size) noexcept;

template <typename T>
struct LIB_NODES {
    using value_type = T;
    LIB_NODES() = default;
    template <typename U>
    LIB_NODES(const LIB_NODES<U>&) noexcept
    {
    }
    T* allocate(std::size_t count) { return static_cast<T*>(lib_node_allocate(count * sizeof(T))); }
    void deallocate(T* node, std::size_t count) noexcept { lib_node_release(node, count * sizeof(T)); }
    friend bool operator==(const LIB_NODES&, const LIB_NODES&) { return true; }
};
