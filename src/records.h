// Storage of the gate and net records: they sit in blocks by position and
// stay there until the process ends, so a record's position follows from
// its address as well as from its id.
#pragma once
#include "design.h"

#include <cstdint>

// Makes the gate or net at the next position (gates.size(),
// nets.by_position.size()); the caller lists it.
GATE* make_gate();
NET* make_net();
NET* net_at(std::uint32_t position);

inline std::uint32_t position_of(const GATE& gate)
{
    return static_cast<std::uint32_t>(gate.id - 1);
}
inline std::uint32_t position_of(const NET& net)
{
    return static_cast<std::uint32_t>(net.id - 1);
}
// The same position from where the net sits, without reading it: for walks
// over millions of pins whose nets are far out of cache.
std::uint32_t net_position(const NET* net);
