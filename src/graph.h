// The finished design's connections as compact index arrays, with an order
// of its gates in which each gate comes after every gate that drives one of
// its inputs. finalize_design takes them from the records once the netlist
// is read, and the design does not change after that; the loop check orders
// the gates, and the analysis passes then sweep the order over these arrays
// instead of chasing pointers through millions of records. Positions are
// those of gates and nets.by_position; each list keeps the records' order
// (pin-name order of a gate's inputs, connection order of a net's sinks).
#pragma once
#include "net_sinks.h"

#include <cstdint>
#include <vector>

constexpr std::int32_t no_position = -1;

// A sink is input pin `slot` (0 for "A", 1 for "B") of the gate at `gate`.
constexpr std::uint32_t sink_of(std::uint32_t gate, std::uint32_t slot)
{
    return gate << 1 | slot;
}
constexpr std::uint32_t sink_gate(std::uint32_t sink)
{
    return sink >> 1;
}
constexpr std::uint32_t sink_slot(std::uint32_t sink)
{
    return sink & 1;
}

struct DESIGN_GRAPH {
    // Per gate: its output net, or no_position.
    std::vector<std::int32_t> gate_out;
    // Per gate: its input nets, in gate_in from gate_in_begin[g] to
    // gate_in_begin[g + 1].
    std::vector<std::uint32_t> gate_in_begin;
    std::vector<std::uint32_t> gate_in;
    // Per net: its driving gate, or no_position.
    std::vector<std::int32_t> net_driver;
    // Per net: whether it is a primary input, a primary output.
    std::vector<unsigned char> net_input;
    std::vector<unsigned char> net_output;
    // Per net: its sinks in connection order, in net_sink from
    // net_sink_begin[n] to net_sink_begin[n + 1]. The nets' NET_SINKS are
    // views of these runs.
    std::vector<std::uint32_t> net_sink_begin;
    std::vector<std::uint32_t> net_sink;
    // Every gate, each after the gates that drive its inputs; in creation
    // order wherever the netlist allows it.
    std::vector<std::uint32_t> order;
    // The nets of the gate at each place of the order: its output net (or
    // no_position) in order_out[p], its input nets in order_in[2p] and
    // order_in[2p + 1], in pin order, no_position past the last. The forward
    // sweeps read them one place after the other: through gate_out and
    // gate_in, a netlist out of signal order would send each step to memory
    // far from the last, behind a chain of dependent reads.
    std::vector<std::int32_t> order_out;
    std::vector<std::int32_t> order_in;
};

// Starts fetching a net's range of sinks, or, once that has come in, the
// list of its sinks: two stages of a walk that reads ahead, for nets met in
// no order. No fetch for no_position.
inline void fetch_sink_range(const DESIGN_GRAPH& graph, std::int32_t net)
{
    if (net != no_position)
        __builtin_prefetch(graph.net_sink_begin.data() + net);
}
inline void fetch_sink_list(const DESIGN_GRAPH& graph, std::int32_t net)
{
    if (net != no_position)
        __builtin_prefetch(graph.net_sink.data() + graph.net_sink_begin[net]);
}

// The connections of the design as it stands; the order is left empty.
DESIGN_GRAPH graph_of_design();
// Fills graph.order; false when some gates cannot be placed, because they
// lie on a loop or behind one.
bool order_gates(DESIGN_GRAPH& graph);

// Written by finalize_design, ordered by cyclic_check; read by the listing
// (through NET_SINKS) and the analysis passes.
extern DESIGN_GRAPH design_graph;
