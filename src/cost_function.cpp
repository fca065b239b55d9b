// Analysis passes. The per-net walks follow nets back through their drivers
// (or forward through their sinks) depth first, with explicit stacks so that
// a path of any length runs in constant call depth; they rely on
// cyclic_check having rejected every loop.
#include "cost_function.h"

#include <limits>
#include <vector>

double max_arrival_time = 0.0;
double wns = 0.0;
double tns = 0.0;
double sum_power = 0.0;
double sum_area = 0.0;
double dynamic_power = 0.0;
int cross_pd_cnt = 0;

namespace {

bool is_input(const NET* net)
{
    return net->is_primary_input;
}

GATE* driving_gate(const NET* net)
{
    return net->driver ? net->driver->gate : nullptr;
}

// Probability of a gate's output from its input values, by cell type.
double gate_probability(const GATE& gate, const double* values, std::size_t count)
{
    const double a = count > 0 ? values[0] : 0.0;
    const double b = count > 1 ? values[1] : 0.0;
    const LOGIC logic = cell_figures(*gate.cell).logic;
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
    uti_error("Input number of cell '%s' error\n", gate.cell->attrs["cell_type"].sval.c_str());
}

// One net whose driving gate is being evaluated: `next` is the next input
// pin to look at, `values` the input values gathered so far.
struct PROB_FRAME {
    NET* net;
    GATE* gate;
    std::size_t next = 0;
    double values[2] = {0.0, 0.0};
};

struct ARRIVAL_FRAME {
    NET* net;
    GATE* gate;
    std::size_t next = 0;
    double latest = 0.0;
};

struct REQUIRED_FRAME {
    NET* net;
    std::size_t next = 0;
    double earliest = 0.0;
};

} // namespace

double set_prob_rec(NET* net)
{
    if (is_input(net)) {
        net->prob = 0.5;
        return 0.5;
    }
    if (!net->driver) {
        net->prob = 0.0;
        return 0.0;
    }
    // Reused from call to call: most calls find their inputs memoised.
    static std::vector<PROB_FRAME> stack;
    stack.clear();
    stack.push_back({net, driving_gate(net)});
    double result = 0.0;
    while (!stack.empty()) {
        PROB_FRAME& frame = stack.back();
        const auto& pins = frame.gate->in_pins;
        if (frame.next < pins.size()) {
            NET* in = pins[frame.next]->net;
            if (in->has_prob) {
                frame.values[frame.next++] = in->prob;
            } else if (is_input(in) || !in->driver) {
                in->prob = is_input(in) ? 0.5 : 0.0;
                in->has_prob = true;
                frame.values[frame.next++] = in->prob;
            } else {
                stack.push_back({in, driving_gate(in)});
            }
            continue;
        }
        const double p = gate_probability(*frame.gate, frame.values, pins.size());
        frame.net->prob = p;
        stack.pop_back();
        if (stack.empty()) {
            result = p;
        } else {
            PROB_FRAME& parent = stack.back();
            parent.gate->in_pins[parent.next]->net->has_prob = true;
            parent.values[parent.next++] = p;
        }
    }
    return result;
}

void do_dyn_power()
{
    for_each_net_in_name_order([](NET* net) {
        if (!net->has_prob) {
            set_prob_rec(net);
            net->has_prob = true;
        }
        const double p = net->prob;
        net->switching = (1 - p) * (p + p);
    });
    dynamic_power = 0.0;
    for (const auto& gate : gates) {
        const double weight = cell_figures(*gate->cell).leak;
        if (const NET* out = gate->out_pin.net)
            dynamic_power = out->switching * weight + dynamic_power;
    }
}

double arr_time_rec(NET* net)
{
    if (is_input(net) || !net->driver)
        return 0.0;
    // Reused from call to call: most calls find their inputs memoised.
    static std::vector<ARRIVAL_FRAME> stack;
    stack.clear();
    stack.push_back({net, driving_gate(net)});
    double result = 0.0;
    while (!stack.empty()) {
        ARRIVAL_FRAME& frame = stack.back();
        const auto& pins = frame.gate->in_pins;
        if (frame.next < pins.size()) {
            NET* in = pins[frame.next]->net;
            if (!in->has_arrival_time && !is_input(in) && in->driver) {
                stack.push_back({in, driving_gate(in)});
                continue;
            }
            if (!in->has_arrival_time) {
                in->arrival_time = 0.0;
                in->has_arrival_time = true;
            }
            if (in->arrival_time > frame.latest)
                frame.latest = in->arrival_time;
            frame.next += 1;
            continue;
        }
        NET* done = frame.net;
        const double arrival = frame.gate->delay + frame.latest;
        stack.pop_back();
        if (stack.empty()) {
            result = arrival;
            break;
        }
        // The parent's pending pin is this net: store it and take it next round.
        done->arrival_time = arrival;
        done->has_arrival_time = true;
    }
    return result;
}

double req_time_rec(NET* net)
{
    // Reused from call to call: most calls find their inputs memoised.
    static std::vector<REQUIRED_FRAME> stack;
    stack.clear();
    const auto start = [](NET* n) {
        const double bound = n->is_primary_output ? clock_period
                                                    : std::numeric_limits<double>::infinity();
        return REQUIRED_FRAME{n, 0, bound};
    };
    stack.push_back(start(net));
    double result = 0.0;
    while (!stack.empty()) {
        REQUIRED_FRAME& frame = stack.back();
        if (frame.next < frame.net->sinks.size()) {
            const GATE* sink = frame.net->sinks[frame.next]->gate;
            NET* out = sink->out_pin.net;
            if (!out) {
                frame.next += 1;
                continue;
            }
            if (!out->has_required_time) {
                stack.push_back(start(out));
                continue;
            }
            const double candidate = out->required_time - sink->delay;
            if (frame.earliest > candidate)
                frame.earliest = candidate;
            frame.next += 1;
            continue;
        }
        const REQUIRED_FRAME done = frame;
        stack.pop_back();
        if (stack.empty()) {
            result = done.earliest;
            break;
        }
        done.net->required_time = done.earliest;
        done.net->has_required_time = true;
    }
    return result;
}

void do_timing()
{
    max_arrival_time = 0.0;
    for_each_net_in_name_order([](NET* net) {
        if (!net->has_arrival_time) {
            net->arrival_time = arr_time_rec(net);
            net->has_arrival_time = true;
        }
        if (net->arrival_time > max_arrival_time)
            max_arrival_time = net->arrival_time;
    });
    for_each_net_in_name_order([](NET* net) {
        if (!net->has_required_time) {
            net->required_time = req_time_rec(net);
            net->has_required_time = true;
        }
    });
    tns = 0.0;
    wns = 0.0;
    for_each_net_in_name_order([](const NET* net) {
        const double slack = net->required_time - net->arrival_time;
        if (slack < 0) {
            tns += slack;
            if (slack < wns)
                wns = slack;
        }
    });
}

void do_power_area()
{
    sum_power = 0.0;
    sum_area = 0.0;
    for (const auto& gate : gates) {
        const CELL_FIGURES& cell = cell_figures(*gate->cell);
        sum_power += cell.leak;
        sum_area += cell.area;
    }
}

void do_cross_pd()
{
    cross_pd_cnt = 0;
    for (const auto& gate : gates) {
        const NET* out = gate->out_pin.net;
        if (!out)
            continue;
        const int domain = cell_figures(*gate->cell).pd;
        for (const PIN* sink : out->sinks)
            if (domain != cell_figures(*sink->gate->cell).pd)
                cross_pd_cnt += 1;
    }
}
