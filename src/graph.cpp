// Index arrays of the design's connections.
#include "graph.h"

#include "design.h"

namespace {

DESIGN_GRAPH graph;

void build_gate_arrays()
{
    graph.gate_out.assign(gates.size(), no_position);
    graph.gate_in_begin.assign(gates.size() + 1, 0);
    graph.gate_in.clear();
    for (std::size_t g = 0; g < gates.size(); ++g) {
        const GATE& gate = *gates[g];
        graph.gate_in_begin[g] = static_cast<std::uint32_t>(graph.gate_in.size());
        for (const auto& pin : gate.in_pins)
            graph.gate_in.push_back(pin->net->index);
        if (gate.out_pin.net)
            graph.gate_out[g] = static_cast<std::int32_t>(gate.out_pin.net->index);
    }
    graph.gate_in_begin[gates.size()] = static_cast<std::uint32_t>(graph.gate_in.size());
}

void build_net_arrays()
{
    const std::size_t count = nets.size();
    graph.net_driver.assign(count, no_position);
    graph.net_sink_begin.assign(count + 1, 0);
    graph.net_port.assign(count, 0);
    graph.net_sink.clear();
    for (std::size_t n = 0; n < count; ++n) {
        const NET& net = *nets.owned[n];
        graph.net_sink_begin[n] = static_cast<std::uint32_t>(graph.net_sink.size());
        for (const PIN* sink : net.sinks)
            graph.net_sink.push_back(sink->gate->index);
        if (net.driver)
            graph.net_driver[n] = static_cast<std::int32_t>(net.driver->gate->index);
        graph.net_port[n] = static_cast<unsigned char>((net.is_primary_input ? port_input : 0) |
                                                       (net.is_primary_output ? port_output : 0));
    }
    graph.net_sink_begin[count] = static_cast<std::uint32_t>(graph.net_sink.size());
    graph.name_order.clear();
    graph.name_order.reserve(count);
    for (const NET* net : net_order())
        graph.name_order.push_back(net->index);
}

} // namespace

const DESIGN_GRAPH& design_graph()
{
    if (graph.gate_out.size() != gates.size() || graph.net_driver.size() != nets.size() ||
        graph.gate_in_begin.empty()) {
        build_gate_arrays();
        build_net_arrays();
    }
    return graph;
}
