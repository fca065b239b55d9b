// Record blocks: a net's position from its address, across block bounds.
#include "design.h"
#include "records.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(records, position_follows_from_address_in_every_block)
{
    // 256 records fill the first block, 512 the second, and so on.
    for (int i = 0; i < 2000; ++i)
        find_or_add_net("n" + std::to_string(i));
    for (std::uint32_t position = 0; position < nets.size(); ++position) {
        const NET* net = nets.by_position[position];
        ASSERT_EQ(net_position(net), position);
        ASSERT_EQ(position_of(*net), position);
        ASSERT_EQ(net_at(position), net);
    }
}

} // namespace
