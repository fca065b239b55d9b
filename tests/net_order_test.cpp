// Net name order: byte-wise, whatever the names share.
#include "design.h"
#include "net_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(net_order, is_byte_wise_whatever_the_names_share)
{
    std::vector<std::string> names = {"abcdefgh_b", "abcdefgh", "abcdefghA", "abcdefgh_a",
                                      "abcdefg", "B", "a", "Z9", "n10", "n2", "n1", "",
                                      "abcdefgh_a1", "abcdefgi"};
    for (const std::string& name : names)
        find_or_add_net(name);
    std::sort(names.begin(), names.end());
    std::vector<std::string> listed;
    for (const NET* net : net_order())
        listed.push_back(net->name);
    EXPECT_EQ(listed, names);
}

} // namespace
