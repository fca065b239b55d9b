// Design finalisation and the combinational-loop check.
#include "design.h"
#include "graph.h"

#include <iterator>
#include <utility>

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
    // Every wire load is in place before the first gate delay reads one. The
    // figures of one net depend on nothing else, so creation order will do.
    const DESIGN_GRAPH& graph = design_graph();
    for (const auto& net : nets.owned) {
        const std::uint32_t first_sink = graph.net_sink_begin[net->index];
        const std::uint32_t end_sink = graph.net_sink_begin[net->index + 1];
        // Pin loads from 0.0 in connection order, the order of the sinks.
        double load = 0.0;
        for (std::uint32_t s = first_sink; s < end_sink; ++s)
            load += cell_figures(*graph.gate_cell[sink_gate(graph.net_sink[s])]).cap;
        net->load_cap = load;
        int fanout = static_cast<int>(end_sink - first_sink);
        if (net->is_primary_output)
            fanout += 1;
        net->fanout = fanout;
        net->wire_cap = static_cast<double>(fanout) * (0.002 * slp_for_fout_size(fanout));
    }
    gate_count = 0;
    over_max_capacitance_cnt = 0;
    // Usage is counted per cell first, then per name and type: a handful of
    // map updates instead of two per gate.
    for (auto& [name, cell] : lib.cells)
        cell.gates_of_cell = 0;
    for (const auto& gate : gates) {
        gate_count += 1;
        gate->cell->gates_of_cell += 1;
        const NET* out = gate->out_pin.net;
        if (!out)
            continue;
        const CELL_FIGURES& cell = cell_figures(*gate->cell);
        gate->delay = cell.b + cell.a * (out->wire_cap + out->load_cap);
        if (out->load_cap + out->wire_cap > cell.maxc)
            over_max_capacitance_cnt += 1;
    }
    for (auto& [name, cell] : lib.cells) {
        if (cell.gates_of_cell == 0)
            continue;
        cell_type_used[cell.attrs["cell_type"].sval] += cell.gates_of_cell;
        cell_used[cell.attrs["cell_name"].sval] += cell.gates_of_cell;
    }
}

bool is_cyclic_rec(std::uint32_t start, std::vector<unsigned char>& marks)
{
    // Depth-first search with an explicit stack of (gate, next sink, end of
    // sinks) so that a path of any length runs in constant call depth.
    constexpr unsigned char on_path = 1;
    constexpr unsigned char done = 2;
    struct FRAME {
        std::uint32_t gate;
        std::uint32_t next;
        std::uint32_t end;
    };
    const DESIGN_GRAPH& graph = design_graph();
    const auto frame_of = [&graph](std::uint32_t gate) {
        const std::int32_t out = graph.gate_out[gate];
        if (out == no_position)
            return FRAME{gate, 0, 0};
        return FRAME{gate, graph.net_sink_begin[out], graph.net_sink_begin[out + 1]};
    };
    std::vector<FRAME> path;
    marks[start] = on_path;
    path.push_back(frame_of(start));
    while (!path.empty()) {
        FRAME& frame = path.back();
        if (frame.next < frame.end) {
            const std::uint32_t sink = sink_gate(graph.net_sink[frame.next++]);
            if (marks[sink] == 0) {
                marks[sink] = on_path;
                path.push_back(frame_of(sink));
            } else if (marks[sink] == on_path) {
                return true;
            }
            continue;
        }
        marks[frame.gate] = done;
        path.pop_back();
    }
    return false;
}

void cyclic_check()
{
    if (drivers_precede_sinks())
        return;
    std::vector<unsigned char> marks(gates.size(), 0);
    for (std::uint32_t g = 0; g < gates.size(); ++g)
        if (marks[g] == 0 && is_cyclic_rec(g, marks))
            uti_error("Netlist contains self-loop\n");
}
