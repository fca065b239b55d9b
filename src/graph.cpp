// The design's connections as index arrays, and the order of its gates.
#include "graph.h"

#include "design.h"
#include "records.h"

DESIGN_GRAPH design_graph;

PIN* NET_SINKS::ITERATOR::operator*() const
{
    const std::uint32_t sink = design_graph.net_sink[at];
    return gates[sink_gate(sink)]->in_pins[sink_slot(sink)];
}

PIN* NET_SINKS::operator[](std::size_t i) const
{
    return *ITERATOR{first + static_cast<std::uint32_t>(i)};
}

DESIGN_GRAPH graph_of_design()
{
    DESIGN_GRAPH graph;
    const std::size_t net_count = nets.size();
    graph.net_driver.assign(net_count, no_position);
    graph.net_input.assign(net_count, 0);
    graph.net_output.assign(net_count, 0);
    for (std::size_t n = 0; n < net_count; ++n) {
        const NET& net = *nets.by_position[n];
        graph.net_input[n] = net.is_primary_input;
        graph.net_output[n] = net.is_primary_output;
    }
    graph.gate_out.reserve(gates.size());
    graph.gate_in_begin.reserve(gates.size() + 1);
    graph.gate_in_begin.push_back(0);
    for (const auto& gate : gates) {
        const std::uint32_t position = position_of(*gate);
        for (const PIN& pin : gate->in_pins)
            graph.gate_in.push_back(net_position(pin.net));
        graph.gate_in_begin.push_back(static_cast<std::uint32_t>(graph.gate_in.size()));
        const NET* out = gate->out_pin.net;
        const std::int32_t out_position =
            out ? static_cast<std::int32_t>(net_position(out)) : no_position;
        graph.gate_out.push_back(out_position);
        if (out)
            graph.net_driver[out_position] = static_cast<std::int32_t>(position);
    }
    // The sinks by a stable counting sort of the input connections by net:
    // gate_in holds them gate by gate in pin order, which is the order in
    // which they were connected.
    graph.net_sink_begin.assign(net_count + 1, 0);
    for (const std::uint32_t net : graph.gate_in)
        graph.net_sink_begin[net + 1] += 1;
    for (std::size_t n = 0; n < net_count; ++n)
        graph.net_sink_begin[n + 1] += graph.net_sink_begin[n];
    graph.net_sink.resize(graph.gate_in.size());
    std::vector<std::uint32_t> next(graph.net_sink_begin.begin(), graph.net_sink_begin.end() - 1);
    for (std::uint32_t gate = 0; gate < graph.gate_out.size(); ++gate)
        for (std::uint32_t i = graph.gate_in_begin[gate]; i < graph.gate_in_begin[gate + 1]; ++i)
            graph.net_sink[next[graph.gate_in[i]]++] = sink_of(gate, i - graph.gate_in_begin[gate]);
    return graph;
}

bool order_gates(DESIGN_GRAPH& graph)
{
    // Kahn's algorithm: a gate is placed once every gate driving one of its
    // inputs is. Gates are taken in creation order as they become ready, so
    // a netlist written in signal order keeps its own order; a gate that
    // becomes ready after the scan has passed it is placed before the scan
    // moves on.
    const std::size_t gate_count = graph.gate_out.size();
    std::vector<std::uint32_t> waiting(gate_count, 0);  // inputs whose driver is not placed
    for (std::size_t gate = 0; gate < gate_count; ++gate)
        for (std::uint32_t i = graph.gate_in_begin[gate]; i < graph.gate_in_begin[gate + 1]; ++i)
            if (graph.net_driver[graph.gate_in[i]] != no_position)
                waiting[gate] += 1;
    graph.order.clear();
    graph.order.reserve(gate_count);
    // Gates found ready behind the scan, placed first in, first out: each is
    // known well before its turn, so the reads for several of them overlap,
    // where a stack would take up the one just found and wait on each.
    std::vector<std::uint32_t> ready;
    // For each gate it places, the walk reads its output net, that net's
    // range of sinks and the sinks, each far from the last in a netlist out
    // of signal order. The reads are started some gates ahead, for the
    // scan's gates and the queue's, in stages that each start from what an
    // earlier stage fetched.
    constexpr std::size_t ahead = 16;
    for (std::uint32_t scan = 0; scan < gate_count; ++scan) {
        if (scan + ahead < gate_count)
            fetch_sink_range(graph, graph.gate_out[scan + ahead]);
        if (scan + ahead / 2 < gate_count)
            fetch_sink_list(graph, graph.gate_out[scan + ahead / 2]);
        if (waiting[scan] != 0)
            continue;
        ready.assign(1, scan);
        for (std::size_t next = 0; next < ready.size(); ++next) {
            if (next + ahead < ready.size())
                __builtin_prefetch(&graph.gate_out[ready[next + ahead]]);
            if (next + ahead / 2 < ready.size())
                fetch_sink_range(graph, graph.gate_out[ready[next + ahead / 2]]);
            if (next + ahead / 4 < ready.size())
                fetch_sink_list(graph, graph.gate_out[ready[next + ahead / 4]]);
            const std::uint32_t gate = ready[next];
            graph.order.push_back(gate);
            const std::int32_t out = graph.gate_out[gate];
            if (out == no_position)
                continue;
            for (std::uint32_t s = graph.net_sink_begin[out]; s < graph.net_sink_begin[out + 1]; ++s) {
                const std::uint32_t sink = sink_gate(graph.net_sink[s]);
                // A sink ahead of the scan is placed when the scan reaches it.
                if (--waiting[sink] == 0 && sink < scan)
                    ready.push_back(sink);
            }
        }
    }
    if (graph.order.size() != gate_count)
        return false;
    // Gathered in a loop of their own, whose reads do not wait on one another.
    graph.order_out.resize(gate_count);
    graph.order_in.assign(2 * gate_count, no_position);
    for (std::size_t at = 0; at < gate_count; ++at) {
        const std::uint32_t gate = graph.order[at];
        graph.order_out[at] = graph.gate_out[gate];
        const std::uint32_t first = graph.gate_in_begin[gate];
        for (std::uint32_t i = first; i < graph.gate_in_begin[gate + 1]; ++i)
            graph.order_in[2 * at + (i - first)] = static_cast<std::int32_t>(graph.gate_in[i]);
    }
    return true;
}
