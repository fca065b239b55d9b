// Design finalisation and the combinational-loop check.
#include "design.h"

#include <unordered_map>
#include <utility>

double slp_for_fout_size(int fanout)
{
    if (fanout <= 0)
        return 0.0;
    if (fanout <= 1)
        return 1.0;
    if (fanout <= 2)
        return 1.2;
    if (fanout <= 3)
        return 1.5;
    if (fanout <= 5)
        return 2.0;
    if (fanout <= 8)
        return 2.5;
    if (fanout <= 12)
        return 3.0;
    if (fanout <= 16)
        return 3.5;
    if (fanout <= 20)
        return 4.0;
    return 5.0;
}

void finalize_design()
{
    // Every wire load is in place before the first gate delay reads one.
    for_each_net_in_name_order([](NET* net) {
        int fanout = static_cast<int>(net->sinks.size());
        if (net->is_primary_output)
            fanout += 1;
        net->fanout = fanout;
        net->wire_cap = static_cast<double>(fanout) * (0.002 * slp_for_fout_size(fanout));
    });
    gate_count = 0;
    over_max_capacitance_cnt = 0;
    // Usage is counted per cell first, then per name and type: a handful of
    // map updates instead of two per gate.
    std::unordered_map<CELL*, int> gates_per_cell;
    for (const auto& gate : gates) {
        gate_count += 1;
        gates_per_cell[gate->cell] += 1;
        const NET* out = gate->out_pin.net;
        if (!out)
            continue;
        const CELL_FIGURES& cell = cell_figures(*gate->cell);
        gate->delay = cell.b + cell.a * (out->wire_cap + out->load_cap);
        if (out->load_cap + out->wire_cap > cell.maxc)
            over_max_capacitance_cnt += 1;
    }
    for (const auto& [cell, count] : gates_per_cell) {
        cell_type_used[cell->attrs["cell_type"].sval] += count;
        cell_used[cell->attrs["cell_name"].sval] += count;
    }
}

bool is_cyclic_rec(GATE* start)
{
    // Depth-first search with an explicit stack of (gate, next sink) so that
    // a chain of any length runs in constant call depth.
    constexpr unsigned char on_path = 1;
    constexpr unsigned char done = 2;
    std::vector<std::pair<GATE*, std::size_t>> path;
    start->loop_mark = on_path;
    path.emplace_back(start, 0);
    while (!path.empty()) {
        auto& [gate, next] = path.back();
        const NET* out = gate->out_pin.net;
        if (out && next < out->sinks.size()) {
            GATE* sink = out->sinks[next++]->gate;
            if (sink->loop_mark == 0) {
                sink->loop_mark = on_path;
                path.emplace_back(sink, 0);
            } else if (sink->loop_mark == on_path) {
                return true;
            }
            continue;
        }
        gate->loop_mark = done;
        path.pop_back();
    }
    return false;
}

void cyclic_check()
{
    for (const auto& gate : gates)
        if (gate->loop_mark == 0 && is_cyclic_rec(gate.get()))
            uti_error("Netlist contains self-loop\n");
}
