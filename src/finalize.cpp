// Design finalisation and the combinational-loop check.
#include "design.h"

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
    for (NET* net : net_order()) {
        int fanout = static_cast<int>(net->sinks.size());
        if (outputs.count(net->name))
            fanout += 1;
        net->fanout = fanout;
        net->wire_cap = static_cast<double>(fanout) * (0.002 * slp_for_fout_size(fanout));
    }
    gate_count = 0;
    over_max_capacitance_cnt = 0;
    for (const auto& gate : gates) {
        gate_count += 1;
        CELL& cell = *gate->cell;
        cell_type_used[cell.attrs["cell_type"].sval] += 1;
        cell_used[cell.attrs["cell_name"].sval] += 1;
        const NET* out = gate->out_pin.net;
        if (!out)
            continue;
        const double a = cell.attrs[attr_a].fval;
        const double b = cell.attrs[attr_b].fval;
        gate->delay = b + a * (out->wire_cap + out->load_cap);
        if (out->load_cap + out->wire_cap > cell.attrs[attr_maxc].fval)
            over_max_capacitance_cnt += 1;
    }
}

bool is_cyclic_rec(GATE* start, std::unordered_set<GATE*>& visited,
                   std::unordered_set<GATE*>& on_stack)
{
    // Depth-first search with an explicit stack of (gate, next sink) so that
    // a chain of any length runs in constant call depth.
    std::vector<std::pair<GATE*, std::size_t>> path;
    visited.insert(start);
    on_stack.insert(start);
    path.emplace_back(start, 0);
    while (!path.empty()) {
        auto& [gate, next] = path.back();
        const NET* out = gate->out_pin.net;
        if (out && next < out->sinks.size()) {
            GATE* sink = out->sinks[next++]->gate;
            if (!visited.count(sink)) {
                visited.insert(sink);
                on_stack.insert(sink);
                path.emplace_back(sink, 0);
            } else if (on_stack.count(sink)) {
                return true;
            }
            continue;
        }
        on_stack.erase(gate);
        path.pop_back();
    }
    return false;
}

void cyclic_check()
{
    std::unordered_set<GATE*> visited(10);
    std::unordered_set<GATE*> on_stack(10);
    for (const auto& gate : gates)
        if (!visited.count(gate.get()) && is_cyclic_rec(gate.get(), visited, on_stack))
            uti_error("Netlist contains self-loop\n");
}
