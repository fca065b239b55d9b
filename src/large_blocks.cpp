// The programs' operator new and delete: large blocks on huge pages.
//
// The records, the name index and the graph's arrays run to hundreds of
// megabytes on a large design, and the read and the passes reach into them
// at random wherever the netlist does not list its statements in signal
// order. On pages of 4 KiB nearly every such access misses the address
// translation cache as well; on pages of 2 MiB, which the kernel gives only
// to memory marked for them, it does not. Blocks from 2 MiB up are mapped
// apart, aligned to 2 MiB and marked; smaller ones come from malloc.
// Linked into the eight programs only: the sanitizers bring their own.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t huge_page = std::size_t{2} << 20;
constexpr std::size_t large_block = huge_page;

// The large blocks in use, by address: a block is freed by the address it
// was given out at. Only a few dozen are ever in use at once; once the table
// is full, large blocks come from malloc as well.
struct LARGE_BLOCK {
    void* start = nullptr;
    std::size_t length = 0;  // of its mapping
};
constexpr std::size_t most_large_blocks = 256;
LARGE_BLOCK large_blocks[most_large_blocks];

std::size_t rounded_up(std::size_t size, std::size_t to)
{
    return (size + to - 1) / to * to;
}

// A mapping of at least `size` bytes whose start is aligned to a huge page,
// marked for huge pages; null when there is none or no room to record it.
void* map_large(std::size_t size)
{
    LARGE_BLOCK* free_entry = nullptr;
    for (LARGE_BLOCK& entry : large_blocks)
        if (!entry.start) {
            free_entry = &entry;
            break;
        }
    if (!free_entry || size > SIZE_MAX - 2 * huge_page)
        return nullptr;
    const std::size_t length = rounded_up(size, huge_page);
    // Mapped one huge page longer, then trimmed to an aligned start.
    void* mapped = mmap(nullptr, length + huge_page, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t start = rounded_up(address, huge_page);
    if (start > address)
        munmap(mapped, start - address);
    munmap(reinterpret_cast<void*>(start + length), address + huge_page - start);
    void* block = reinterpret_cast<void*>(start);
    madvise(block, length, MADV_HUGEPAGE);
    *free_entry = {block, length};
    return block;
}

// Unmaps `block` when it is a large one; false when it is not.
bool unmap_large(void* block)
{
    if (!block || reinterpret_cast<std::uintptr_t>(block) % huge_page != 0)
        return false;
    for (LARGE_BLOCK& entry : large_blocks)
        if (entry.start == block) {
            munmap(entry.start, entry.length);
            entry = {};
            return true;
        }
    return false;
}

// A block of `size` bytes aligned to `alignment` (at most a huge page),
// calling the new-handler while there is none, as operator new must.
void* allocate(std::size_t size, std::size_t alignment)
{
    if (size == 0)
        size = 1;
    for (;;) {
        void* block = nullptr;
        if (size >= large_block)
            block = map_large(size);
        if (!block)
            block = alignment <= alignof(std::max_align_t)
                ? std::malloc(size)
                : std::aligned_alloc(alignment, rounded_up(size, alignment));
        if (block)
            return block;
        const std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void release(void* block)
{
    if (!unmap_large(block))
        std::free(block);
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size, alignof(std::max_align_t));
}

void* operator new[](std::size_t size)
{
    return allocate(size, alignof(std::max_align_t));
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocate(size, static_cast<std::size_t>(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocate(size, static_cast<std::size_t>(alignment));
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size, alignof(std::max_align_t));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return operator new(size, std::nothrow);
}

void operator delete(void* block) noexcept
{
    release(block);
}

void operator delete[](void* block) noexcept
{
    release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    release(block);
}

void operator delete(void* block, std::align_val_t) noexcept
{
    release(block);
}

void operator delete[](void* block, std::align_val_t) noexcept
{
    release(block);
}

void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
    release(block);
}

void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
    release(block);
}
