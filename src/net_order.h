// Byte-wise name order of the nets: the order of the per-net walks and sums
// whose outcome depends on it.
#pragma once
#include "design.h"

#include <cstdint>
#include <vector>

// Every net in ascending byte-wise name order.
std::vector<NET*> net_order();
// Puts net positions (into nets.by_position) in ascending byte-wise name order.
void sort_by_net_name(std::vector<std::uint32_t>& positions);
