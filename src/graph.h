// The design's connections as index arrays, built once after the netlist is
// read. The loop check and the analysis passes walk these compact arrays
// instead of chasing pointers through millions of records; each array keeps
// the order of the records it copies (pin order, sink order).
#pragma once
#include <cstdint>
#include <vector>

constexpr std::int32_t no_position = -1;

struct DESIGN_GRAPH {
    // Per gate (position in gates): its output net's position, or no_position.
    std::vector<std::int32_t> gate_out;
    // Per gate: its input nets in pin-name order, in gate_in from
    // gate_in_begin[g] to gate_in_begin[g + 1].
    std::vector<std::uint32_t> gate_in_begin;
    std::vector<std::uint32_t> gate_in;
    // Per net (position in nets.owned): its driving gate, or no_position.
    std::vector<std::int32_t> net_driver;
    // Per net: the gates of its sink pins in sinks order, in net_sink from
    // net_sink_begin[n] to net_sink_begin[n + 1].
    std::vector<std::uint32_t> net_sink_begin;
    std::vector<std::uint32_t> net_sink;
    // Per net: 1 when it is a primary input, 2 when a primary output, 3 both.
    std::vector<unsigned char> net_port;
    // Net positions in byte-wise name order.
    std::vector<std::uint32_t> name_order;
};

constexpr unsigned char port_input = 1;
constexpr unsigned char port_output = 2;

// Built on first use, and again when gates or nets were added since.
const DESIGN_GRAPH& design_graph();
