// Net name order: a radix sort on the names' first eight bytes, then a
// comparison sort within each run that shares them.
#include "net_order.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// A net's position with the first eight bytes of its name packed
// big-endian: comparing prefixes orders names byte-wise as far as those
// bytes go.
struct KEYED_NET {
    std::uint64_t prefix;
    std::uint32_t position;
};

// Least-significant-byte-first radix sort by prefix; a byte that all
// prefixes share costs one counting pass and no moves.
void sort_by_prefix(std::vector<KEYED_NET>& keyed)
{
    std::vector<KEYED_NET> sorted(keyed.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t start[257] = {};
        for (const KEYED_NET& entry : keyed)
            start[((entry.prefix >> shift) & 0xff) + 1] += 1;
        if (std::find(std::begin(start), std::end(start), keyed.size()) != std::end(start))
            continue;
        for (std::size_t b = 0; b < 256; ++b)
            start[b + 1] += start[b];
        for (const KEYED_NET& entry : keyed)
            sorted[start[(entry.prefix >> shift) & 0xff]++] = entry;
        keyed.swap(sorted);
    }
}

} // namespace

void sort_by_net_name(std::vector<std::uint32_t>& positions)
{
    std::vector<KEYED_NET> keyed;
    keyed.reserve(positions.size());
    for (const std::uint32_t position : positions) {
        std::uint64_t prefix = 0;
        const std::string& name = nets.by_position[position]->name;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = (prefix << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
        keyed.push_back({prefix, position});
    }
    sort_by_prefix(keyed);
    // Names that share their first eight bytes are ordered by the rest.
    for (auto run = keyed.begin(); run != keyed.end();) {
        const auto run_end = std::find_if(run, keyed.end(), [&run](const KEYED_NET& entry) {
            return entry.prefix != run->prefix;
        });
        if (run_end - run > 1)
            std::sort(run, run_end, [](const KEYED_NET& a, const KEYED_NET& b) {
                return nets.by_position[a.position]->name < nets.by_position[b.position]->name;
            });
        run = run_end;
    }
    for (std::size_t i = 0; i < keyed.size(); ++i)
        positions[i] = keyed[i].position;
}

std::vector<NET*> net_order()
{
    std::vector<std::uint32_t> positions(nets.size());
    for (std::uint32_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    sort_by_net_name(positions);
    std::vector<NET*> sorted;
    sorted.reserve(positions.size());
    for (const std::uint32_t position : positions)
        sorted.push_back(nets.by_position[position]);
    return sorted;
}
