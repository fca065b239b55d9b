// Analysis passes. Per-net values are swept over the design's index arrays
// (graph.h) in the loop check's order of the gates, forward for arrival
// times and probabilities, backward for required times; they rely on
// cyclic_check having rejected every loop and made that order. The
// probability pass then writes prob and switching into the nets.
#include "cost_function.h"

#include "cell_figures.h"
#include "graph.h"
#include "net_order.h"
#include "records.h"

#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

double max_arrival_time = 0.0;
double wns = 0.0;
double tns = 0.0;
double sum_power = 0.0;
double sum_area = 0.0;
double dynamic_power = 0.0;
int cross_pd_cnt = 0;

std::vector<double> arrival_time;
std::vector<double> required_time;
std::vector<double> set_prob;

namespace {

// Logic function of a cell type, for the probability formulas.
enum class LOGIC { BUF, NOT, AND, OR, NAND, NOR, XOR, XNOR, OTHER };

bool is_leaf(const DESIGN_GRAPH& graph, std::uint32_t net)
{
    return graph.net_input[net] || graph.net_driver[net] == no_position;
}

// Whether a gate of this logic function with `count` connected inputs has a
// probability formula: one input for buf and not, two for the other six.
bool has_formula(LOGIC logic, std::uint32_t count)
{
    if (logic == LOGIC::OTHER)
        return false;
    return count == (logic == LOGIC::BUF || logic == LOGIC::NOT ? 1u : 2u);
}

// Ends the run for a gate that has no formula.
void require_formula(std::uint32_t gate, LOGIC logic, std::uint32_t count)
{
    if (!has_formula(logic, count))
        uti_error("Input number of cell '%s' error\n",
                  gates[gate]->cell->attrs["cell_type"].sval.c_str());
}

// Probability of a gate's output from its input values, by cell type.
double gate_probability(std::uint32_t gate, LOGIC logic, const double* values,
                        std::uint32_t count)
{
    require_formula(gate, logic, count);
    const double a = values[0];
    const double b = count > 1 ? values[1] : 0.0;
    switch (logic) {
    case LOGIC::BUF:
        return a;
    case LOGIC::NOT:
        return 1 - a;
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
    case LOGIC::OTHER:
        break;
    }
    return 0.0;  // not reached: has_formula rejects OTHER
}

double leaf_probability(const DESIGN_GRAPH& graph, std::uint32_t leaf)
{
    return graph.net_input[leaf] ? 0.5 : 0.0;
}

// Each gate's logic function, side by side for the sweep; the cell type is
// looked up once per cell.
std::vector<LOGIC> gate_logic()
{
    static const std::map<std::string, LOGIC> logic_of_type = {
        {"buf", LOGIC::BUF}, {"not", LOGIC::NOT},   {"and", LOGIC::AND}, {"or", LOGIC::OR},
        {"nand", LOGIC::NAND}, {"nor", LOGIC::NOR}, {"xor", LOGIC::XOR}, {"xnor", LOGIC::XNOR}};
    std::vector<LOGIC> logic_of_row;
    for (const CELL_FIGURES& row : gate_figures.rows) {
        const auto logic = logic_of_type.find(row.cell->attrs["cell_type"].sval);
        logic_of_row.push_back(logic == logic_of_type.end() ? LOGIC::OTHER : logic->second);
    }
    std::vector<LOGIC> logic;
    logic.reserve(gates.size());
    for (const std::uint32_t row : gate_figures.row_of_gate)
        logic.push_back(logic_of_row[row]);
    return logic;
}

// True when gate_probability would report an error for a gate that the
// pass evaluates: one that drives a net that is not a leaf.
bool has_probability_error(const DESIGN_GRAPH& graph, const std::vector<LOGIC>& logic_of)
{
    for (std::uint32_t gate = 0; gate < graph.gate_out.size(); ++gate) {
        const std::int32_t out = graph.gate_out[gate];
        if (out == no_position || is_leaf(graph, static_cast<std::uint32_t>(out)))
            continue;
        if (!has_formula(logic_of[gate], graph.gate_in_begin[gate + 1] - graph.gate_in_begin[gate]))
            return true;
    }
    return false;
}

// The gate reported is the first without a formula to be finished by a
// depth-first walk from the nets in name order back through each driver's
// inputs in pin order: a gate is evaluated once its inputs are known. Only
// that order matters, so no value is computed.
void report_probability_error(const DESIGN_GRAPH& graph, const std::vector<LOGIC>& logic_of)
{
    std::vector<unsigned char> reached(graph.gate_out.size(), 0);
    // Gates being walked, each with the place in gate_in of its next input.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;
    const auto reach = [&](std::uint32_t net) {
        if (is_leaf(graph, net))
            return;
        const auto gate = static_cast<std::uint32_t>(graph.net_driver[net]);
        if (!reached[gate]) {
            reached[gate] = 1;
            stack.emplace_back(gate, graph.gate_in_begin[gate]);
        }
    };
    for (const NET* net : net_order()) {
        reach(position_of(*net));
        while (!stack.empty()) {
            const auto [gate, next] = stack.back();
            if (next < graph.gate_in_begin[gate + 1]) {
                stack.back().second += 1;
                reach(graph.gate_in[next]);
                continue;
            }
            require_formula(gate, logic_of[gate], next - graph.gate_in_begin[gate]);
            stack.pop_back();
        }
    }
}

} // namespace

void do_dyn_power()
{
    const DESIGN_GRAPH& graph = design_graph;
    const std::size_t net_count = graph.net_driver.size();
    set_prob.assign(net_count, 0.0);
    const std::vector<LOGIC> logic = gate_logic();
    if (has_probability_error(graph, logic))
        report_probability_error(graph, logic);
    for (std::uint32_t net = 0; net < net_count; ++net)
        if (is_leaf(graph, net))
            set_prob[net] = leaf_probability(graph, net);
    for (std::size_t at = 0; at < graph.order.size(); ++at) {
        const std::int32_t out = graph.order_out[at];
        if (out == no_position || graph.net_input[out])
            continue;
        double values[2] = {0.0, 0.0};
        std::uint32_t count = 0;
        for (; count < 2 && graph.order_in[2 * at + count] != no_position; ++count)
            values[count] = set_prob[graph.order_in[2 * at + count]];
        const std::uint32_t gate = graph.order[at];
        set_prob[out] = gate_probability(gate, logic[gate], values, count);
    }
    const auto switching_at = [](std::uint32_t net) {
        const double p = set_prob[net];
        return (1 - p) * (p + p);
    };
    for (std::uint32_t net = 0; net < net_count; ++net) {
        NET& record = *nets.by_position[net];
        record.prob = set_prob[net];
        record.switching = switching_at(net);
    }
    dynamic_power = 0.0;
    for (std::uint32_t g = 0; g < graph.gate_out.size(); ++g)
        if (graph.gate_out[g] != no_position)
            dynamic_power = switching_at(static_cast<std::uint32_t>(graph.gate_out[g])) *
                                gate_figures.of_gate(g).leak +
                            dynamic_power;
}

void do_timing()
{
    const DESIGN_GRAPH& graph = design_graph;
    const std::size_t net_count = graph.net_driver.size();
    // The delays side by side, for the sweeps' sake.
    std::vector<double> delay;
    delay.reserve(gates.size());
    for (const auto& gate : gates)
        delay.push_back(gate->delay);
    // A gate's output arrives its delay after its latest input; inputs that
    // arrive before 0.0 count as 0.0. Primary inputs and undriven nets
    // arrive at 0.0.
    arrival_time.assign(net_count, 0.0);
    for (std::size_t at = 0; at < graph.order.size(); ++at) {
        const std::int32_t out = graph.order_out[at];
        if (out == no_position || graph.net_input[out])
            continue;
        double latest = 0.0;
        for (std::size_t i = 2 * at; i < 2 * at + 2 && graph.order_in[i] != no_position; ++i)
            if (arrival_time[graph.order_in[i]] > latest)
                latest = arrival_time[graph.order_in[i]];
        arrival_time[out] = delay[graph.order[at]] + latest;
    }
    // A net is required by the clock at a primary output and, before that,
    // by each sink gate's output less that gate's delay, in sink order. A
    // gate's sinks come after it in the order, so backwards they are known.
    required_time.assign(net_count, 0.0);
    const auto required_from_sinks = [&](std::uint32_t net) {
        double earliest = graph.net_output[net] ? clock_period
                                                : std::numeric_limits<double>::infinity();
        for (std::uint32_t s = graph.net_sink_begin[net]; s < graph.net_sink_begin[net + 1]; ++s) {
            const std::uint32_t sink = sink_gate(graph.net_sink[s]);
            const std::int32_t out = graph.gate_out[sink];
            if (out == no_position)
                continue;
            const double candidate = required_time[out] - delay[sink];
            if (earliest > candidate)
                earliest = candidate;
        }
        required_time[net] = earliest;
    };
    // Backwards, each step reads a net's sinks and their outputs far from
    // the last step's when the netlist is out of signal order: the reads
    // are started some places ahead, each from what an earlier one fetched.
    constexpr std::size_t ahead = 16;
    for (std::size_t at = graph.order_out.size(); at-- > 0;) {
        if (at >= ahead)
            fetch_sink_range(graph, graph.order_out[at - ahead]);
        if (at >= ahead / 2)
            fetch_sink_list(graph, graph.order_out[at - ahead / 2]);
        if (graph.order_out[at] != no_position)
            required_from_sinks(static_cast<std::uint32_t>(graph.order_out[at]));
    }
    for (std::uint32_t net = 0; net < net_count; ++net)
        if (graph.net_driver[net] == no_position)
            required_from_sinks(net);
    // The latest arrival and the worst slack do not depend on the order of
    // the nets; the slack sum does, and is taken in name order over the nets
    // with a negative slack.
    max_arrival_time = 0.0;
    wns = 0.0;
    std::vector<std::uint32_t> late;
    for (std::uint32_t net = 0; net < net_count; ++net) {
        if (arrival_time[net] > max_arrival_time)
            max_arrival_time = arrival_time[net];
        const double slack = required_time[net] - arrival_time[net];
        if (slack < 0) {
            late.push_back(net);
            if (slack < wns)
                wns = slack;
        }
    }
    sort_by_net_name(late);
    tns = 0.0;
    for (const std::uint32_t net : late)
        tns += required_time[net] - arrival_time[net];
}

void do_power_area()
{
    sum_power = 0.0;
    sum_area = 0.0;
    for (std::uint32_t g = 0; g < gates.size(); ++g) {
        const CELL_FIGURES& cell = gate_figures.of_gate(g);
        sum_power += cell.leak;
        sum_area += cell.area;
    }
}

void do_cross_pd()
{
    // Counted at each sink pin, from its gate's side: the same connections
    // as from each driver over its output's sinks.
    const DESIGN_GRAPH& graph = design_graph;
    std::vector<int> domain;
    domain.reserve(gates.size());
    for (std::uint32_t g = 0; g < gates.size(); ++g)
        domain.push_back(gate_figures.of_gate(g).pd);
    cross_pd_cnt = 0;
    for (std::uint32_t sink = 0; sink < domain.size(); ++sink)
        for (std::uint32_t i = graph.gate_in_begin[sink]; i < graph.gate_in_begin[sink + 1]; ++i) {
            const std::int32_t driver = graph.net_driver[graph.gate_in[i]];
            if (driver != no_position && domain[driver] != domain[sink])
                cross_pd_cnt += 1;
        }
}
