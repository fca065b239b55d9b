// Analysis passes. The per-net walks follow nets back through their drivers
// (or forward through their sinks) depth first, over the design's index
// arrays and with explicit stacks, so that a path of any length runs in
// constant call depth; they rely on cyclic_check having rejected every loop.
// Each walk memoises per-net values in arrays indexed by net position; the
// probability pass then writes prob and switching into the nets.
#include "cost_function.h"

#include "graph.h"

#include <limits>
#include <vector>

double max_arrival_time = 0.0;
double wns = 0.0;
double tns = 0.0;
double sum_power = 0.0;
double sum_area = 0.0;
double dynamic_power = 0.0;
int cross_pd_cnt = 0;

NET_MEMO arrival_time;
NET_MEMO required_time;
NET_MEMO set_prob;

namespace {

NET_MEMO& sized(NET_MEMO& memo)
{
    if (memo.value.size() != nets.size()) {
        memo.value.assign(nets.size(), 0.0);
        memo.known.assign(nets.size(), 0);
    }
    return memo;
}

std::vector<double> gate_delays()
{
    std::vector<double> delays;
    delays.reserve(gates.size());
    for (const auto& gate : gates)
        delays.push_back(gate->delay);
    return delays;
}

bool is_input(const DESIGN_GRAPH& graph, std::uint32_t net)
{
    return (graph.net_port[net] & port_input) != 0;
}

// Probability of a gate's output from its input values, by cell type.
double gate_probability(std::uint32_t gate, LOGIC logic, const double* values,
                        std::uint32_t count)
{
    const double a = count > 0 ? values[0] : 0.0;
    const double b = count > 1 ? values[1] : 0.0;
    if (count == 1) {
        if (logic == LOGIC::BUF)
            return a;
        if (logic == LOGIC::NOT)
            return 1 - a;
    } else if (count == 2) {
        switch (logic) {
        case LOGIC::AND:
            return a * b;
        case LOGIC::OR:
            return 1 - (1 - a) * (1 - b);
        case LOGIC::NAND:
            return 1 - a * b;
        case LOGIC::NOR:
            return (1 - a) * (1 - b);
        case LOGIC::XOR:
            return a * (1 - b) + (1 - a) * b;
        case LOGIC::XNOR:
            return a * b + (1 - a) * (1 - b);
        default:
            break;
        }
    }
    uti_error("Input number of cell '%s' error\n",
              gates[gate]->cell->attrs["cell_type"].sval.c_str());
}

// One net whose driving gate is being evaluated: its inputs run from `next`
// to `end` in gate_in; `values` holds those already known, in pin order.
struct BACK_FRAME {
    std::uint32_t net;
    std::uint32_t gate;
    std::uint32_t next;
    std::uint32_t end;
    std::uint32_t count = 0;
    double values[2] = {0.0, 0.0};
};

struct REQUIRED_FRAME {
    std::uint32_t net;
    std::uint32_t next;
    std::uint32_t end;
    double earliest;
};

bool is_leaf(const DESIGN_GRAPH& graph, std::uint32_t net)
{
    return is_input(graph, net) || graph.net_driver[net] == no_position;
}

// The value of `net` from the values of its driving gate's inputs, walking
// back depth first: a primary input or an undriven net is worth
// `leaf_value(net)`, a driven net `gate_value(gate, input values, count)`.
// Every value met on the way is memoised, but the asked-for net's own value
// is left to the caller.
template <typename LEAF_VALUE, typename GATE_VALUE>
double walk_back(std::uint32_t net, NET_MEMO& memo, LEAF_VALUE leaf_value, GATE_VALUE gate_value)
{
    const DESIGN_GRAPH& graph = design_graph();
    if (is_leaf(graph, net))
        return leaf_value(net);
    const auto frame_of = [&graph](std::uint32_t n) {
        const auto gate = static_cast<std::uint32_t>(graph.net_driver[n]);
        return BACK_FRAME{n, gate, graph.gate_in_begin[gate], graph.gate_in_begin[gate + 1]};
    };
    // Reused from call to call: most calls find their inputs memoised.
    static std::vector<BACK_FRAME> stack;
    stack.clear();
    stack.push_back(frame_of(net));
    while (true) {
        BACK_FRAME& frame = stack.back();
        if (frame.next < frame.end) {
            const std::uint32_t in = graph.gate_in[frame.next];
            if (!memo.known[in]) {
                if (!is_leaf(graph, in)) {
                    stack.push_back(frame_of(in));
                    continue;
                }
                memo.value[in] = leaf_value(in);
                memo.known[in] = 1;
            }
            frame.values[frame.count++] = memo.value[in];
            frame.next += 1;
            continue;
        }
        const double value = gate_value(frame.gate, frame.values, frame.count);
        const std::uint32_t done = frame.net;
        stack.pop_back();
        if (stack.empty())
            return value;
        // The parent's pending input is this net: it reads it next round.
        memo.value[done] = value;
        memo.known[done] = 1;
    }
}

// The walk's values for every net at once, when drivers_precede_sinks():
// leaves first, then each gate's output from its inputs in creation order.
// Each value comes from the same operations on the same operands as in the
// walk; only the order in which nets are visited differs.
template <typename LEAF_VALUE, typename GATE_VALUE>
void sweep_forward(NET_MEMO& memo, LEAF_VALUE leaf_value, GATE_VALUE gate_value)
{
    const DESIGN_GRAPH& graph = design_graph();
    for (std::uint32_t net = 0; net < memo.value.size(); ++net)
        if (is_leaf(graph, net)) {
            memo.value[net] = leaf_value(net);
            memo.known[net] = 1;
        }
    for (std::uint32_t gate = 0; gate < graph.gate_out.size(); ++gate) {
        const std::int32_t out = graph.gate_out[gate];
        if (out == no_position || is_leaf(graph, static_cast<std::uint32_t>(out)))
            continue;
        double values[2] = {0.0, 0.0};
        std::uint32_t count = 0;
        for (std::uint32_t i = graph.gate_in_begin[gate]; i < graph.gate_in_begin[gate + 1]; ++i)
            values[count++] = memo.value[graph.gate_in[i]];
        memo.value[out] = gate_value(gate, values, count);
        memo.known[out] = 1;
    }
}

double leaf_probability(const DESIGN_GRAPH& graph, std::uint32_t leaf)
{
    return is_input(graph, leaf) ? 0.5 : 0.0;
}

// True when gate_probability would report an error for a gate the
// probability walk evaluates: one that drives a net that is not a leaf.
bool has_probability_error(const std::vector<LOGIC>& logic)
{
    const DESIGN_GRAPH& graph = design_graph();
    for (std::uint32_t gate = 0; gate < graph.gate_out.size(); ++gate) {
        const std::int32_t out = graph.gate_out[gate];
        if (out == no_position || is_leaf(graph, static_cast<std::uint32_t>(out)))
            continue;
        const std::uint32_t count = graph.gate_in_begin[gate + 1] - graph.gate_in_begin[gate];
        const bool one_input = logic[gate] == LOGIC::BUF || logic[gate] == LOGIC::NOT;
        const bool two_inputs = logic[gate] != LOGIC::OTHER && !one_input;
        if (!(count == 1 && one_input) && !(count == 2 && two_inputs))
            return true;
    }
    return false;
}

double probability_of(std::uint32_t net, const std::vector<LOGIC>& logic)
{
    const DESIGN_GRAPH& graph = design_graph();
    return walk_back(
        net, sized(set_prob),
        [&graph](std::uint32_t leaf) { return leaf_probability(graph, leaf); },
        [&logic](std::uint32_t gate, const double* values, std::uint32_t count) {
            return gate_probability(gate, logic[gate], values, count);
        });
}

double arrival_leaf(std::uint32_t)
{
    return 0.0;
}

double arrival_at_output(const std::vector<double>& delays, std::uint32_t gate,
                         const double* values, std::uint32_t count)
{
    double latest = 0.0;
    for (std::uint32_t i = 0; i < count; ++i)
        if (values[i] > latest)
            latest = values[i];
    return delays[gate] + latest;
}

// A gate's output arrives its delay after its latest input; inputs that
// arrive before 0.0 count as 0.0.
double arrival_of(std::uint32_t net, const std::vector<double>& delays)
{
    return walk_back(net, sized(arrival_time), arrival_leaf,
                     [&delays](std::uint32_t gate, const double* values, std::uint32_t count) {
                         return arrival_at_output(delays, gate, values, count);
                     });
}

double required_bound(const DESIGN_GRAPH& graph, std::uint32_t net)
{
    return (graph.net_port[net] & port_output) ? clock_period
                                               : std::numeric_limits<double>::infinity();
}

// Required times of every net at once, when drivers_precede_sinks(): gate
// outputs in reverse creation order, so that the outputs of a net's sinks
// are known before it, then the undriven nets. Each net's sinks are taken in
// the walk's order, so every value comes out the same.
void sweep_backward(NET_MEMO& memo, const std::vector<double>& delays)
{
    const DESIGN_GRAPH& graph = design_graph();
    const auto required_from_sinks = [&](std::uint32_t net) {
        double earliest = required_bound(graph, net);
        for (std::uint32_t s = graph.net_sink_begin[net]; s < graph.net_sink_begin[net + 1]; ++s) {
            const std::uint32_t sink = sink_gate(graph.net_sink[s]);
            const std::int32_t out = graph.gate_out[sink];
            if (out == no_position)
                continue;
            const double candidate = memo.value[out] - delays[sink];
            if (earliest > candidate)
                earliest = candidate;
        }
        memo.value[net] = earliest;
        memo.known[net] = 1;
    };
    for (std::size_t gate = graph.gate_out.size(); gate-- > 0;)
        if (graph.gate_out[gate] != no_position)
            required_from_sinks(static_cast<std::uint32_t>(graph.gate_out[gate]));
    for (std::uint32_t net = 0; net < memo.value.size(); ++net)
        if (graph.net_driver[net] == no_position)
            required_from_sinks(net);
}

double required_of(std::uint32_t net, const std::vector<double>& delays)
{
    const DESIGN_GRAPH& graph = design_graph();
    NET_MEMO& memo = sized(required_time);
    const auto frame_of = [&graph](std::uint32_t n) {
        return REQUIRED_FRAME{n, graph.net_sink_begin[n], graph.net_sink_begin[n + 1],
                              required_bound(graph, n)};
    };
    static std::vector<REQUIRED_FRAME> stack;
    stack.clear();
    stack.push_back(frame_of(net));
    while (true) {
        REQUIRED_FRAME& frame = stack.back();
        if (frame.next < frame.end) {
            const std::uint32_t sink = sink_gate(graph.net_sink[frame.next]);
            const std::int32_t out = graph.gate_out[sink];
            if (out == no_position) {
                frame.next += 1;
                continue;
            }
            if (!memo.known[out]) {
                stack.push_back(frame_of(static_cast<std::uint32_t>(out)));
                continue;
            }
            const double candidate = memo.value[out] - delays[sink];
            if (frame.earliest > candidate)
                frame.earliest = candidate;
            frame.next += 1;
            continue;
        }
        const REQUIRED_FRAME done = frame;
        stack.pop_back();
        if (stack.empty())
            return done.earliest;
        memo.value[done.net] = done.earliest;
        memo.known[done.net] = 1;
    }
}

// Every net position, in creation order.
std::vector<std::uint32_t> creation_order()
{
    std::vector<std::uint32_t> order(nets.size());
    for (std::uint32_t net = 0; net < order.size(); ++net)
        order[net] = net;
    return order;
}

std::vector<LOGIC> gate_logic()
{
    std::vector<LOGIC> logic;
    logic.reserve(gates.size());
    for (CELL* cell : design_graph().gate_cell)
        logic.push_back(cell_figures(*cell).logic);
    return logic;
}

} // namespace

double set_prob_rec(NET* net)
{
    const double p = probability_of(net->index, gate_logic());
    net->prob = p;
    return p;
}

void do_dyn_power()
{
    const std::vector<LOGIC> logic = gate_logic();
    NET_MEMO& memo = sized(set_prob);
    const bool has_error = has_probability_error(logic);
    if (drivers_precede_sinks() && !has_error) {
        const DESIGN_GRAPH& graph = design_graph();
        sweep_forward(
            memo, [&graph](std::uint32_t leaf) { return leaf_probability(graph, leaf); },
            [&logic](std::uint32_t gate, const double* values, std::uint32_t count) {
                return gate_probability(gate, logic[gate], values, count);
            });
    } else {
        // The values do not depend on the order the walks start from, but
        // with an error somewhere, the walks in name order decide which one
        // is reported.
        std::vector<std::uint32_t> order = creation_order();
        if (has_error)
            sort_by_net_name(order);
        for (const std::uint32_t net : order) {
            if (!memo.known[net]) {
                memo.value[net] = probability_of(net, logic);
                memo.known[net] = 1;
            }
        }
    }
    const auto switching_at = [&memo](std::uint32_t net) {
        const double p = memo.value[net];
        return (1 - p) * (p + p);
    };
    for (const auto& net : nets.owned) {
        net->prob = memo.value[net->index];
        net->switching = switching_at(net->index);
    }
    const DESIGN_GRAPH& graph = design_graph();
    dynamic_power = 0.0;
    for (std::size_t g = 0; g < graph.gate_out.size(); ++g)
        if (graph.gate_out[g] != no_position)
            dynamic_power = switching_at(static_cast<std::uint32_t>(graph.gate_out[g])) *
                                cell_figures(*graph.gate_cell[g]).leak +
                            dynamic_power;
}

double arr_time_rec(NET* net)
{
    return arrival_of(net->index, gate_delays());
}

double req_time_rec(NET* net)
{
    return required_of(net->index, gate_delays());
}

void do_timing()
{
    const std::vector<double> delays = gate_delays();
    NET_MEMO& arrival = sized(arrival_time);
    NET_MEMO& required = sized(required_time);
    // No value depends on the order the nets are taken in.
    if (drivers_precede_sinks()) {
        sweep_forward(arrival, arrival_leaf,
                      [&delays](std::uint32_t gate, const double* values, std::uint32_t count) {
                          return arrival_at_output(delays, gate, values, count);
                      });
        sweep_backward(required, delays);
    } else {
        const std::vector<std::uint32_t> order = creation_order();
        for (const std::uint32_t net : order)
            if (!arrival.known[net]) {
                arrival.value[net] = arrival_of(net, delays);
                arrival.known[net] = 1;
            }
        for (const std::uint32_t net : order)
            if (!required.known[net]) {
                required.value[net] = required_of(net, delays);
                required.known[net] = 1;
            }
    }
    // The latest arrival and the worst slack do not depend on the order
    // either; the slack sum does, and is taken in name order over the nets
    // with a negative slack.
    max_arrival_time = 0.0;
    wns = 0.0;
    std::vector<std::uint32_t> late;
    for (std::uint32_t net = 0; net < arrival.value.size(); ++net) {
        if (arrival.value[net] > max_arrival_time)
            max_arrival_time = arrival.value[net];
        const double slack = required.value[net] - arrival.value[net];
        if (slack < 0) {
            late.push_back(net);
            if (slack < wns)
                wns = slack;
        }
    }
    sort_by_net_name(late);
    tns = 0.0;
    for (const std::uint32_t net : late)
        tns += required.value[net] - arrival.value[net];
}

void do_power_area()
{
    sum_power = 0.0;
    sum_area = 0.0;
    for (CELL* gate_cell : design_graph().gate_cell) {
        const CELL_FIGURES& cell = cell_figures(*gate_cell);
        sum_power += cell.leak;
        sum_area += cell.area;
    }
}

void do_cross_pd()
{
    const DESIGN_GRAPH& graph = design_graph();
    const auto domain = [&graph](std::uint32_t gate) {
        return cell_figures(*graph.gate_cell[gate]).pd;
    };
    cross_pd_cnt = 0;
    for (std::uint32_t g = 0; g < graph.gate_out.size(); ++g) {
        const std::int32_t out = graph.gate_out[g];
        if (out == no_position)
            continue;
        for (std::uint32_t s = graph.net_sink_begin[out]; s < graph.net_sink_begin[out + 1]; ++s)
            if (domain(g) != domain(sink_gate(graph.net_sink[s])))
                cross_pd_cnt += 1;
    }
}
