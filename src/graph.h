// The design's connections as index arrays. The netlist builder records each
// connection here as it makes it; the loop check and the analysis passes
// then walk these compact arrays instead of chasing pointers through
// millions of records. Each array keeps the order of the records it mirrors
// (pin-name order of a gate's inputs, connection order of a net's sinks).
#pragma once
#include <cstdint>
#include <vector>

struct CELL;

constexpr std::int32_t no_position = -1;
constexpr unsigned char port_input = 1;
constexpr unsigned char port_output = 2;

struct DESIGN_GRAPH {
    // Per gate (position in gates): its output net's position, or no_position.
    std::vector<std::int32_t> gate_out;
    // Per gate: its cell, so that per-gate passes need not read the gates.
    std::vector<CELL*> gate_cell;
    // Per gate: its input nets in pin-name order, in gate_in from
    // gate_in_begin[g] to gate_in_begin[g + 1] (one entry more than gates).
    std::vector<std::uint32_t> gate_in_begin = {0};
    std::vector<std::uint32_t> gate_in;
    // Per net (position in nets.owned): its driving gate, or no_position.
    std::vector<std::int32_t> net_driver;
    // Per net: port_input and port_output bits.
    std::vector<unsigned char> net_port;
    // Per net: its sink pins in connection order, in net_sink from
    // net_sink_begin[n] to net_sink_begin[n + 1], each as sink_of(gate, pin).
    std::vector<std::uint32_t> net_sink_begin;
    std::vector<std::uint32_t> net_sink;
};

// A sink pin: input pin `pin` (0 for "A", 1 for "B") of gate `gate`.
constexpr std::uint32_t sink_of(std::uint32_t gate, std::uint32_t pin)
{
    return gate << 1 | pin;
}
constexpr std::uint32_t sink_gate(std::uint32_t sink)
{
    return sink >> 1;
}
constexpr std::uint32_t sink_pin(std::uint32_t sink)
{
    return sink & 1;
}

// Called by the netlist builder, in the order it connects.
void graph_add_net();
void graph_add_gate(CELL* cell);
void graph_mark_port(std::uint32_t net, unsigned char port);
// The gate's next input pin, in pin order, onto `net`.
void graph_connect_input(std::uint32_t gate, std::uint32_t net);
void graph_connect_output(std::uint32_t gate, std::uint32_t net);

// True when every gate's driven inputs are driven by gates made before it,
// as in a netlist written in signal order. Creation order is then an order
// in which every gate comes after the gates it depends on, and there is no
// loop.
bool drivers_precede_sinks();

// The arrays; the sink lists are completed on first use after connections
// were made.
const DESIGN_GRAPH& design_graph();
