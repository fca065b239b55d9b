// Index arrays of the design's connections.
#include "graph.h"

namespace {

DESIGN_GRAPH graph;
// True when input connections were made since the sink lists were built.
bool sinks_stale = true;
// drivers_precede_sinks() as last found; cleared by every new connection.
enum class ORDER_CHECK { UNKNOWN, HOLDS, FAILS } signal_order = ORDER_CHECK::UNKNOWN;

// Counting sort of every input connection by net. gate_in holds them in
// connection order and the sort is stable, so each net keeps that order.
void build_sink_lists()
{
    const std::size_t count = graph.net_driver.size();
    graph.net_sink_begin.assign(count + 1, 0);
    for (const std::uint32_t net : graph.gate_in)
        graph.net_sink_begin[net + 1] += 1;
    for (std::size_t n = 0; n < count; ++n)
        graph.net_sink_begin[n + 1] += graph.net_sink_begin[n];
    graph.net_sink.assign(graph.gate_in.size(), 0);
    std::vector<std::uint32_t> next(graph.net_sink_begin.begin(), graph.net_sink_begin.end() - 1);
    for (std::uint32_t gate = 0; gate < graph.gate_out.size(); ++gate) {
        const std::uint32_t first = graph.gate_in_begin[gate];
        for (std::uint32_t i = first; i < graph.gate_in_begin[gate + 1]; ++i)
            graph.net_sink[next[graph.gate_in[i]]++] = sink_of(gate, i - first);
    }
    sinks_stale = false;
}

} // namespace

void graph_add_net()
{
    graph.net_driver.push_back(no_position);
    graph.net_port.push_back(0);
}

void graph_add_gate(CELL* cell)
{
    signal_order = ORDER_CHECK::UNKNOWN;
    graph.gate_out.push_back(no_position);
    graph.gate_cell.push_back(cell);
    graph.gate_in_begin.push_back(static_cast<std::uint32_t>(graph.gate_in.size()));
}

void graph_mark_port(std::uint32_t net, unsigned char port)
{
    graph.net_port[net] |= port;
}

void graph_connect_input(std::uint32_t gate, std::uint32_t net)
{
    signal_order = ORDER_CHECK::UNKNOWN;
    // Only the newest gate is ever being connected, so its inputs end the list.
    graph.gate_in.push_back(net);
    graph.gate_in_begin[gate + 1] = static_cast<std::uint32_t>(graph.gate_in.size());
    sinks_stale = true;
}

void graph_connect_output(std::uint32_t gate, std::uint32_t net)
{
    signal_order = ORDER_CHECK::UNKNOWN;
    graph.gate_out[gate] = static_cast<std::int32_t>(net);
    graph.net_driver[net] = static_cast<std::int32_t>(gate);
}

const DESIGN_GRAPH& design_graph()
{
    if (sinks_stale || graph.net_sink_begin.size() != graph.net_driver.size() + 1)
        build_sink_lists();
    return graph;
}

bool drivers_precede_sinks()
{
    if (signal_order != ORDER_CHECK::UNKNOWN)
        return signal_order == ORDER_CHECK::HOLDS;
    const auto holds = [] {
        for (std::size_t gate = 0; gate < graph.gate_out.size(); ++gate)
            for (auto i = graph.gate_in_begin[gate]; i < graph.gate_in_begin[gate + 1]; ++i) {
                const std::int32_t driver = graph.net_driver[graph.gate_in[i]];
                if (driver != no_position && static_cast<std::size_t>(driver) >= gate)
                    return false;
            }
        return true;
    };
    signal_order = holds() ? ORDER_CHECK::HOLDS : ORDER_CHECK::FAILS;
    return signal_order == ORDER_CHECK::HOLDS;
}
