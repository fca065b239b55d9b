// The finished design's connections as compact index arrays, with an order
// of its gates in which each gate comes after every gate that drives one of
// its inputs. The loop check takes them from the records once finalisation
// is done, and the design does not change after that; the analysis passes
// then sweep the order over these arrays instead of chasing pointers
// through millions of records. Positions are those of gates and
// nets.owned; each list keeps the records' order (pin-name order of a
// gate's inputs, connection order of a net's sinks).
#pragma once
#include <cstdint>
#include <vector>

constexpr std::int32_t no_position = -1;

struct DESIGN_GRAPH {
    // Per gate: its output net, or no_position.
    std::vector<std::int32_t> gate_out;
    // Per gate: its input nets, in gate_in from gate_in_begin[g] to
    // gate_in_begin[g + 1].
    std::vector<std::uint32_t> gate_in_begin;
    std::vector<std::uint32_t> gate_in;
    // Per gate: its delay.
    std::vector<double> gate_delay;
    // Per net: its driving gate, or no_position.
    std::vector<std::int32_t> net_driver;
    // Per net: whether it is a primary input, a primary output.
    std::vector<unsigned char> net_input;
    std::vector<unsigned char> net_output;
    // Per net: the gates of its sink pins, in connection order, in net_sink
    // from net_sink_begin[n] to net_sink_begin[n + 1].
    std::vector<std::uint32_t> net_sink_begin;
    std::vector<std::uint32_t> net_sink;
    // Every gate, each after the gates that drive its inputs; in creation
    // order wherever the netlist allows it.
    std::vector<std::uint32_t> order;
};

// The arrays of the design as it stands, with `order` left empty.
DESIGN_GRAPH graph_of_design();
// Fills graph.order; false when some gates cannot be placed, because they
// lie on a loop or behind one.
bool order_gates(DESIGN_GRAPH& graph);

// Written by cyclic_check; read by the analysis passes.
extern DESIGN_GRAPH design_graph;
