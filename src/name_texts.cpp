// The arena of name texts.
#include "name_texts.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Name texts are carved out of blocks instead of one heap copy each. Once a
// statement is complete its texts are dead (the builders keep copies), and
// reader_release_texts lets the blocks be filled again. Blocks start small
// and each new one is twice the last, up to 1 MiB, so that a small design
// takes a page or two and a statement with millions of names still few
// blocks.

constexpr std::size_t first_text_block = std::size_t{1} << 12;
constexpr std::size_t last_text_block = std::size_t{1} << 20;
// Longer texts get an allocation of their own.
constexpr std::size_t long_text = last_text_block / 4;

struct TEXT_BLOCK {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
};

struct TEXT_ARENA {
    std::vector<TEXT_BLOCK> blocks;
    std::size_t block = 0;  // the block being filled
    std::size_t used = 0;   // bytes of it taken
    std::size_t room = 0;   // its size; 0 before the first block
    std::vector<std::unique_ptr<char[]>> long_texts;  // one allocation each
};

TEXT_ARENA texts;

// Copies `size` bytes: names are short, and for up to sixteen bytes two
// fixed-size copies that may overlap cost less than a call.
void copy_text(char* to, const char* from, std::size_t size)
{
    if (size > 16) {
        std::memcpy(to, from, size);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else {
        for (std::size_t i = 0; i < size; ++i)
            to[i] = from[i];
    }
}

// Moves on to the first later block with room for `size` bytes, making one
// when there is none.
void next_text_block(std::size_t size)
{
    std::size_t next = texts.blocks.empty() ? 0 : texts.block + 1;
    while (next < texts.blocks.size() && texts.blocks[next].size < size)
        ++next;
    if (next == texts.blocks.size()) {
        std::size_t block_size = texts.blocks.empty()
            ? first_text_block
            : std::min(texts.blocks.back().size * 2, last_text_block);
        while (block_size < size)
            block_size *= 2;
        texts.blocks.push_back({std::make_unique_for_overwrite<char[]>(block_size), block_size});
    }
    texts.block = next;
    texts.used = 0;
    texts.room = texts.blocks[next].size;
}

} // namespace

char* keep_text(const char* text, std::size_t length)
{
    const std::size_t size = length + 1;
    char* copy = nullptr;
    if (size > long_text) {
        texts.long_texts.push_back(std::make_unique_for_overwrite<char[]>(size));
        copy = texts.long_texts.back().get();
    } else {
        if (texts.used + size > texts.room)
            next_text_block(size);
        copy = texts.blocks[texts.block].bytes.get() + texts.used;
        texts.used += size;
    }
    copy_text(copy, text, size);
    return copy;
}

void reader_release_texts()
{
    texts.block = 0;
    texts.used = 0;
    texts.room = texts.blocks.empty() ? 0 : texts.blocks[0].size;
    texts.long_texts.clear();
}
