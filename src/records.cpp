// Record blocks: gates and nets by position.
#include "records.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace {

// Records sit in blocks by position, each block twice the size of the one
// before: a net's address follows from its position, so hooking a pin onto
// a net found by name need not read the net's record (likely far out of
// cache), a small design touches few pages, and records made one after the
// other sit side by side.
template <typename RECORD>
struct RECORD_BLOCKS {
    static constexpr unsigned first_shift = 8;  // 256 records in the first block
    std::vector<RECORD*> blocks;
    std::size_t made = 0;
    // The blocks by address, for the position of a record from its address.
    std::vector<std::pair<std::uintptr_t, unsigned>> by_address;

    static unsigned block_of(std::size_t position)
    {
        return static_cast<unsigned>(std::bit_width((position >> first_shift) + 1) - 1);
    }
    static std::size_t start_of(unsigned block)
    {
        return ((std::size_t{1} << block) - 1) << first_shift;
    }
    RECORD* at(std::size_t position) const
    {
        const unsigned block = block_of(position);
        return blocks[block] + (position - start_of(block));
    }
    RECORD* make()
    {
        const unsigned block = block_of(made);
        if (block == blocks.size()) {
            blocks.push_back(static_cast<RECORD*>(
                ::operator new(sizeof(RECORD) << (first_shift + block))));
            const std::pair<std::uintptr_t, unsigned> entry{
                reinterpret_cast<std::uintptr_t>(blocks.back()), block};
            by_address.insert(std::upper_bound(by_address.begin(), by_address.end(), entry),
                              entry);
        }
        return ::new (at(made++)) RECORD();
    }
    // The position of a record made here, found without reading it.
    std::size_t position_of(const RECORD* record) const
    {
        const auto address = reinterpret_cast<std::uintptr_t>(record);
        const auto after = std::upper_bound(
            by_address.begin(), by_address.end(), address,
            [](std::uintptr_t a, const std::pair<std::uintptr_t, unsigned>& entry) {
                return a < entry.first;
            });
        const auto& [start, block] = *(after - 1);
        return start_of(block) + (address - start) / sizeof(RECORD);
    }
};

// Never destroyed: the records live until the process ends.
RECORD_BLOCKS<NET>& net_blocks = *new RECORD_BLOCKS<NET>();
RECORD_BLOCKS<GATE>& gate_blocks = *new RECORD_BLOCKS<GATE>();

} // namespace

GATE* make_gate()
{
    return gate_blocks.make();
}

NET* make_net()
{
    return net_blocks.make();
}

NET* net_at(std::uint32_t position)
{
    return net_blocks.at(position);
}

std::uint32_t net_position(const NET* net)
{
    return static_cast<std::uint32_t>(net_blocks.position_of(net));
}
