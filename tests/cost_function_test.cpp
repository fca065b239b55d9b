// Analysis passes: timing, signal probability and switching power, leakage
// and area, domain crossings, and eval_full's cost.
#include "cost_function.h"
#include "design.h"
#include "finalize.h"
#include "net_order.h"
#include "records.h"
#include "map.h"
#include "reader.h"
#include "unit_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

// No delay slope, so a gate's delay is exactly its intrinsic delay.
void add_cell(const char* name, const char* type, double delay, double leak, double area = 0.0,
              int pd = 0)
{
    lib_tmp_cell_insert_attr_s("cell_name", name);
    lib_tmp_cell_insert_attr_s("cell_type", type);
    lib_tmp_cell_insert_attr_f(attr_b, delay);
    lib_tmp_cell_insert_attr_f(attr_leak, leak);
    lib_tmp_cell_insert_attr_f(attr_area, area);
    if (pd != 0)
        lib_tmp_cell_insert_attr_i(attr_pd, pd);
    lib_create_cell_from_tmp_cell();
}

// Reads a netlist body through the real scanner and parser, then finalises it.
void read_design(const std::string& body)
{
    ASSERT_EQ(parse_text("module top_1 (p);\n" + body + "\nendmodule\n"), 0);
    finalize_design();
    cyclic_check();
}

template <typename CASE>
    requires requires(const CASE& c) { c.name; }
void PrintTo(const CASE& c, std::ostream* os) { *os << c.name; }
constexpr auto case_name = [](const auto& info) { return std::string(info.param.name); };

class analysis : public testing::Test {
protected:
    void SetUp() override
    {
        init_mapping();
        encode_lib();
        for (const char* type : {"buf", "not", "and", "or", "nand", "nor", "xor", "xnor"})
            add_cell(type, type, 1.0, 0.5);
        add_cell("AND", "AND", 1.0, 0.0);  // outside the eight types
        add_cell("foo", "foo", 1.0, 0.0);
        add_cell("and2", "and", 2.0, 0.3);
        add_cell("inv3", "not", 3.0, 0.7);
        add_cell("neg", "buf", -1.5, 0.0);
        add_cell("big", "buf", 9007199254740991.0, 0.0);  // 2^53 - 1
    }
};

// `times` lists every net in name order with its arrival and required time.
struct TIMING_CASE {
    const char* name; const char* design; double clock, max_arrival, wns, tns; const char* times;
};
class timing : public analysis, public testing::WithParamInterface<TIMING_CASE> {};
TEST_P(timing, gives_times_max_arrival_and_negative_slacks)
{
    const TIMING_CASE& c = GetParam();
    read_design(c.design);
    clock_period = c.clock;
    do_timing();
    std::ostringstream times;
    for (const NET* net : net_order())
        times << net->name << ' ' << arrival_time[position_of(*net)] << ' '
              << required_time[position_of(*net)] << ';';
    EXPECT_EQ(times.str(), c.times);
    EXPECT_EQ(max_arrival_time, c.max_arrival);
    EXPECT_EQ(wns, c.wns);
    EXPECT_EQ(tns, c.tns);
}
constexpr const char* chain = "input a, b; output y; and2 g1 (a, b, n); inv3 g2 (n, y);";
INSTANTIATE_TEST_SUITE_P(do_timing, timing, testing::Values(
    TIMING_CASE{"worked_chain", chain, 4.0, 5.0, -1.0, -4.0, "a 0 -1;b 0 -1;n 2 1;y 5 4;"},
    TIMING_CASE{"zero_slack_not_negative", chain, 5.0, 5.0, 0.0, 0.0, "a 0 0;b 0 0;n 2 2;y 5 5;"},
    TIMING_CASE{"no_primary_output", "input a, b; and2 g1 (a, b, n);", -3.0, 2.0, 0.0, 0.0,
                "a 0 inf;b 0 inf;n 2 inf;"},
    TIMING_CASE{"undriven_output_negative_clock", "output y;", -2.0, 0.0, -2.0, -2.0, "y 0 -2;"},
    // The negative arrival of n counts as 0 at g2.
    TIMING_CASE{"negative_delays", "input a; output y; neg g1 (a, n); neg g2 (n, y);", -2.0,
                0.0, -0.5, -0.5, "a 0 1;n -1.5 -0.5;y -1.5 -2;"},
    // Gates written after the gates they feed: the same times.
    TIMING_CASE{"worked_chain_out_of_order",
                "input a, b; output y; inv3 g2 (n, y); and2 g1 (a, b, n);", 4.0, 5.0, -1.0,
                -4.0, "a 0 -1;b 0 -1;n 2 1;y 5 4;"},
    TIMING_CASE{"negative_delays_out_of_order",
                "input a; output y; neg g2 (n, y); neg g1 (a, n);", -2.0, 0.0, -0.5, -0.5,
                "a 0 1;n -1.5 -0.5;y -1.5 -2;"},
    // Slacks -1, -1 and -2^53: taken in name order the sum is exact; in the
    // order the nets were made (y, b, a) each -1 would be rounded away.
    TIMING_CASE{"slack_sum_in_name_order", "output a, b, y; big g1 (.Y(y));", -1.0,
                9007199254740991.0, -9007199254740992.0, -9007199254740994.0,
                "a 0 -1;b 0 -1;y 9.0072e+15 -1;"},
    TIMING_CASE{"max_from_dead_end", "input a, b; output y; buf g1 (a, y); inv3 g2 (b, n);",
                9.0, 3.0, 0.0, 0.0, "a 0 8;b 0 inf;n 3 inf;y 1 9;"}), case_name);

// A row with `error` set names the cell type that the pass cannot evaluate.
struct PROB_CASE {
    const char* name; std::string design; const char* net; double prob; std::string error = "";
};
// A is 0.25 and B 0.875, so that b and 1 - b differ.
const std::string unequal_inputs = "input a, b; and g1 (a, b, p); nand g2 (p, a, q); ";
class probability : public analysis, public testing::WithParamInterface<PROB_CASE> {};
TEST_P(probability, of_the_net_and_its_switching)
{
    const PROB_CASE& c = GetParam();
    read_design(c.design);
    if (!c.error.empty()) {
        EXPECT_EXIT(do_dyn_power(), testing::ExitedWithCode(1),
                    "^Error: Input number of cell '" + c.error + "' error\n$");
        return;
    }
    do_dyn_power();
    EXPECT_EQ(nets.at(c.net)->prob, c.prob);
    EXPECT_EQ(nets.at(c.net)->switching, (1 - c.prob) * (c.prob + c.prob));
}
INSTANTIATE_TEST_SUITE_P(do_dyn_power, probability, testing::Values(
    PROB_CASE{"and", "input a, b; and g (a, b, y);", "y", 0.25},
    PROB_CASE{"or", "input a, b; or g (a, b, y);", "y", 0.75},
    PROB_CASE{"nand", "input a, b; nand g (a, b, y);", "y", 0.75},
    PROB_CASE{"nor", "input a, b; nor g (a, b, y);", "y", 0.25},
    PROB_CASE{"xor", "input a, b; xor g (a, b, y);", "y", 0.5},
    PROB_CASE{"xnor", "input a, b; xnor g (a, b, y);", "y", 0.5},
    PROB_CASE{"and_unequal", unequal_inputs + "and g (p, q, y);", "y", 0.21875},
    PROB_CASE{"or_unequal", unequal_inputs + "or g (p, q, y);", "y", 0.90625},
    PROB_CASE{"nand_unequal", unequal_inputs + "nand g (p, q, y);", "y", 0.78125},
    PROB_CASE{"nor_unequal", unequal_inputs + "nor g (p, q, y);", "y", 0.09375},
    PROB_CASE{"xor_unequal", unequal_inputs + "xor g (p, q, y);", "y", 0.6875},
    PROB_CASE{"xnor_unequal", unequal_inputs + "xnor g (p, q, y);", "y", 0.3125},
    PROB_CASE{"primary_input", "input a;", "a", 0.5},
    PROB_CASE{"not_of_undriven", "not g (u, y);", "y", 1.0},
    PROB_CASE{"same_net_on_both_inputs", "input a; and g (a, a, y);", "y", 0.25},
    PROB_CASE{"buf_chain", "input a; buf g1 (a, n); buf g2 (n, m); buf g3 (m, y);", "y", 0.5},
    PROB_CASE{"nand_of_and", "input a, b, c; and g1 (a, b, n); nand g2 (n, c, y);", "y", 0.875},
    PROB_CASE{"nand_of_and_out_of_order", "input a, b, c; nand g2 (n, c, y); and g1 (a, b, n);",
              "y", 0.875},
    // a is declared an input after a gate of an unknown type drives it.
    PROB_CASE{"driven_primary_input", "foo g (b, b, a); input a;", "a", 0.5},
    PROB_CASE{"unknown_type", "input a, b; foo g (a, b, y);", "y", 0.0, "foo"},
    PROB_CASE{"capitals", "input a, b; AND g (a, b, y);", "y", 0.0, "AND"},
    // Two gates the pass cannot evaluate: the nets are walked in name order.
    PROB_CASE{"first_error_by_net_name", "input a, b; foo g1 (a, b, z); AND g2 (a, b, c);", "c",
              0.0, "AND"},
    // The walk from a1 reaches z9's driver before b is taken.
    PROB_CASE{"first_error_depth_first",
              "input a; AND g3 (a, a, b); foo g1 (a, a, z9); buf g2 (z9, a1);", "a1", 0.0, "foo"},
    // g1 is reached first, from m, but its input's driver g2 is finished first.
    PROB_CASE{"first_error_after_its_inputs", "input a; foo g1 (z, z, m); AND g2 (a, a, z);",
              "m", 0.0, "AND"},
    // From m, pin A's net y is walked before pin B's net x.
    PROB_CASE{"first_error_in_pin_order", "input a; and g1 (y, x, m); foo g2 (a, a, x);"
              "AND g3 (a, a, y);", "m", 0.0, "AND"},
    // The walk stops at a, a primary input, and never reaches g1.
    PROB_CASE{"first_error_past_driven_input", "foo g1 (b, b, a); AND g2 (a, a, c); input a;",
              "c", 0.0, "AND"},
    PROB_CASE{"and_with_only_a", "input a; and g (.A(a), .Y(y));", "y", 0.0, "and"},
    PROB_CASE{"buf_without_input", "buf g (.Y(y));", "y", 0.0, "buf"}), case_name);

// Domain 1 (d1, d1and) and 2 (d2and); d0 has no pd attribute.
// Switching is 0.5 at probability 0.5 and 0.375 at 0.25; dynamic power adds
// switching x leakage from 0.0 in creation order.
struct TOTALS_CASE {
    const char* name; const char* design; double leak, area, dynamic; int crossings;
};
class totals : public analysis, public testing::WithParamInterface<TOTALS_CASE> {};
TEST_P(totals, sum_every_gate_and_count_crossing_sink_pins)
{
    add_cell("d1", "buf", 1.0, 0.1, 0.7, 1);
    add_cell("d1and", "and", 1.0, 0.2, 0.3, 1);
    add_cell("d2and", "and", 1.0, 0.4, 0.6, 2);
    add_cell("d0", "buf", 1.0, 0.0);
    read_design(GetParam().design);
    do_power_area();
    do_dyn_power();
    do_cross_pd();
    EXPECT_EQ(dynamic_power, GetParam().dynamic);
    EXPECT_EQ(sum_power, GetParam().leak);
    EXPECT_EQ(sum_area, GetParam().area);
    EXPECT_EQ(cross_pd_cnt, GetParam().crossings);
}
INSTANTIATE_TEST_SUITE_P(design_totals, totals, testing::Values(
    TOTALS_CASE{"two_pins_of_one_gate", "input a, c; d1 g1 (a, n); d2and g2 (n, n, m);"
                "d1and g3 (.A(n), .B(c), .Y(k));", 0.0 + 0.1 + 0.4 + 0.2, 0.0 + 0.7 + 0.6 + 0.3,
                0.375 * 0.2 + (0.375 * 0.4 + (0.5 * 0.1 + 0.0)), 2},
    TOTALS_CASE{"missing_pd_is_domain_0", "input a; d0 g1 (a, n); d1 g2 (n, y); d0 g3 (n, z);",
                0.0 + 0.1, 0.0 + 0.7, 0.5 * 0.1, 1},
    // g2 has no output net: it adds leakage and area, but no switching or crossing.
    TOTALS_CASE{"primary_input_and_open_output", "input a; d1 g1 (a, n); d2and g2 (.A(a));",
                0.0 + 0.1 + 0.4, 0.0 + 0.7 + 0.6, 0.5 * 0.1 + 0.0, 0}), case_name);

// Two buf gates in domains 1 and 2, leakage 1.0 and area 5.0 each: area 10,
// leakage 2, dynamic power 1, one crossing in two gates, so 1.5 x 30 = 45
// before the timing, area and power factors.
struct COST_CASE { const char* name; const char* constraints; double delay1, delay2, factors; };
class cost : public analysis, public testing::WithParamInterface<COST_CASE> {};
TEST_P(cost, of_eval_full)
{
    const COST_CASE& c = GetParam();
    add_cell("c1", "buf", c.delay1, 1.0, 5.0, 1);
    add_cell("c2", "buf", c.delay2, 1.0, 5.0, 2);
    read_design("input a; output y; c1 g1 (a, n); c2 g2 (n, y);");
    design_name = std::string("top_") + encode(c.constraints);
    EXPECT_EQ(cost_function(), std::pow(45.0 * c.factors, 0.1428));
    EXPECT_EQ(max_arrival_time, c.delay1 + c.delay2);
}
INSTANTIATE_TEST_SUITE_P(cost_function, cost, testing::Values(
    COST_CASE{"worked_case", "10_-1_-1", 2.0, 3.0, 1.0},
    COST_CASE{"late_and_area_reached", "10_10_-1", 5.5, 5.0, 10.0 * 5.0},
    COST_CASE{"at_0_9_of_clock", "10_-1_-1", 4.0, 5.0, 1.1},
    COST_CASE{"at_the_clock", "10_-1_-1", 5.0, 5.0, 1.2},
    COST_CASE{"leakage_limit_reached", "10_11_2", 2.0, 3.0, 5.0},
    COST_CASE{"negative_clock", "-1_-1_-1", 0.0, 0.0, 20.0}), case_name);

// A chain of a million buf gates, written from its start or from its end.
// From its end every gate comes before its driver, so that the order of the
// gates is the reverse of the statements'.
void check_million_buf_chain(bool from_its_end)
{
    add_cell("b1", "buf", 1.0, 0.25);
    constexpr int length = 1000000;
    insert_inputs("n0");
    insert_outputs("n" + std::to_string(length));
    for (int step = 1; step <= length; ++step) {
        const int i = from_its_end ? length + 1 - step : step;
        insert_port_list_by_order("n" + std::to_string(i - 1));
        insert_port_list_by_order("n" + std::to_string(i));
        create_instance("b1", "(empty)");
    }
    finalize_design();
    cyclic_check();
    clock_period = length - 1;
    do_timing();
    do_dyn_power();
    EXPECT_EQ(max_arrival_time, length);
    EXPECT_EQ(wns, -1.0);
    EXPECT_EQ(tns, -(length + 1.0));
    EXPECT_EQ(dynamic_power, 0.125 * length);
}

TEST_F(analysis, million_buf_chain_under_the_default_stack)
{
    check_million_buf_chain(false);
}

TEST_F(analysis, million_buf_chain_from_its_end_under_the_default_stack)
{
    check_million_buf_chain(true);
}

} // namespace
