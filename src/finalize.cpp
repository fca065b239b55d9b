// Design finalisation and the combinational-loop check.
#include "finalize.h"

#include "cell_figures.h"
#include "design.h"
#include "graph.h"

#include <iterator>
#include <vector>

double slp_for_fout_size(int fanout)
{
    // Upper fanout bounds, tested in ascending order, and their slopes.
    constexpr int bounds[] = {0, 1, 2, 3, 5, 8, 12, 16, 20};
    constexpr double slopes[] = {0.0, 1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0};
    for (std::size_t i = 0; i < std::size(bounds); ++i)
        if (fanout <= bounds[i])
            return slopes[i];
    return 5.0;
}

void finalize_design()
{
    check_instance_names();
    gate_figures = figures_of_gates();
    design_graph = graph_of_design();
    const DESIGN_GRAPH& graph = design_graph;
    // Pin loads from 0.0 in connection order, the order of each net's sinks.
    std::vector<double> load(nets.size(), 0.0);
    for (std::uint32_t gate = 0; gate < gates.size(); ++gate) {
        const double cap = gate_figures.of_gate(gate).cap;
        for (std::uint32_t i = graph.gate_in_begin[gate]; i < graph.gate_in_begin[gate + 1]; ++i)
            load[graph.gate_in[i]] += cap;
    }
    // Every wire load is in place before the first gate delay reads one. The
    // figures of one net depend on nothing else, so creation order will do.
    std::vector<double> output_load(nets.size());
    for (std::uint32_t n = 0; n < nets.size(); ++n) {
        NET& net = *nets.by_position[n];
        const std::int32_t driver = graph.net_driver[n];
        net.driver = driver == no_position ? nullptr : &gates[driver]->out_pin;
        net.sinks.first = graph.net_sink_begin[n];
        net.sinks.count = graph.net_sink_begin[n + 1] - graph.net_sink_begin[n];
        net.load_cap = load[n];
        int fanout = static_cast<int>(net.sinks.count);
        if (net.is_primary_output)
            fanout += 1;
        net.fanout = fanout;
        net.wire_cap = static_cast<double>(fanout) * (0.002 * slp_for_fout_size(fanout));
        output_load[n] = net.wire_cap + net.load_cap;
    }
    gate_count = 0;
    over_max_capacitance_cnt = 0;
    // Usage is counted per cell first, then per name and type: a handful of
    // map updates instead of two per gate.
    std::vector<int> gates_of_row(gate_figures.rows.size(), 0);
    for (std::uint32_t g = 0; g < gates.size(); ++g) {
        gate_count += 1;
        gates_of_row[gate_figures.row_of_gate[g]] += 1;
        const std::int32_t out = graph.gate_out[g];
        if (out != no_position) {
            // Addition commutes exactly, so one sum serves the delay and the test.
            const CELL_FIGURES& cell = gate_figures.of_gate(g);
            gates[g]->delay = cell.b + cell.a * output_load[out];
            if (output_load[out] > cell.maxc)
                over_max_capacitance_cnt += 1;
        }
    }
    for (std::size_t row = 0; row < gates_of_row.size(); ++row) {
        if (gates_of_row[row] == 0)
            continue;
        auto& attrs = gate_figures.rows[row].cell->attrs;
        cell_type_used[attrs["cell_type"].sval] += gates_of_row[row];
        cell_used[attrs["cell_name"].sval] += gates_of_row[row];
    }
}

void cyclic_check()
{
    if (!order_gates(design_graph))
        uti_error("Netlist contains self-loop\n");
}
