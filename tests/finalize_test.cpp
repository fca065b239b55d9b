// Finalisation: fanout, wire loads, delays, usage and violation counts.
#include "design.h"
#include "finalize.h"
#include "map.h"
#include "unit_support.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

class finalize : public testing::Test {
protected:
    void SetUp() override { init_mapping(), encode_lib(), rst_new_inst(), lib_rst(); }
};

struct WIRE_CASE { int sinks; bool output; int fanout; double slope; };
void PrintTo(const WIRE_CASE& c, std::ostream* os) { *os << c.fanout; }
class wire_cap : public finalize, public testing::WithParamInterface<WIRE_CASE> {};

TEST_P(wire_cap, follows_the_slope_table)
{
    const WIRE_CASE& c = GetParam();
    add_cell("BUF", "buf", {});
    insert_inputs("n");  // a primary input gets nothing extra
    if (c.output)
        insert_outputs("n");
    for (int i = 0; i < c.sinks; ++i)
        add_gate("BUF", "(empty)", "n", "o" + std::to_string(i));
    finalize_design();
    EXPECT_EQ(nets.at("n")->fanout, c.fanout);
    EXPECT_EQ(nets.at("n")->wire_cap, static_cast<double>(c.fanout) * (0.002 * c.slope));
}

INSTANTIATE_TEST_SUITE_P(finalize, wire_cap, testing::Values(
    WIRE_CASE{0, false, 0, 0.0}, WIRE_CASE{0, true, 1, 1.0}, WIRE_CASE{2, false, 2, 1.2},
    WIRE_CASE{3, false, 3, 1.5}, WIRE_CASE{4, false, 4, 2.0}, WIRE_CASE{5, false, 5, 2.0},
    WIRE_CASE{8, false, 8, 2.5}, WIRE_CASE{12, false, 12, 3.0}, WIRE_CASE{16, false, 16, 3.5},
    WIRE_CASE{20, false, 20, 4.0}, WIRE_CASE{20, true, 21, 5.0}),
    [](const auto& info) { return "fanout_" + std::to_string(info.param.fanout); });

TEST_F(finalize, delay_is_intercept_plus_slope_times_load)
{
    add_cell("DRV", "not", {{"data_1_f", 0.8}, {"data_2_f", 1.5}, {"data_5_f", 0.02}});
    add_cell("BARE", "not", {});
    add_gate("DRV", "g1", "x", "n");
    add_gate("DRV", "g2", "n", "p");
    add_gate("DRV", "g3", "n", "q");
    add_gate("BARE", "g4", "x", "r");
    finalize_design();
    EXPECT_EQ(gates[0]->delay, 1.5 + 0.8 * (2.0 * (0.002 * 1.2) + (0.0 + 0.02 + 0.02)));
    EXPECT_EQ(gates[1]->delay, 1.5);
    EXPECT_EQ(gates[3]->delay, 0.0);
}

// A primary output alone loads its net with 1 * (0.002 * 1.0).
struct MAXC_CASE { const char* name; bool has_max; double max; bool output; int count; };
void PrintTo(const MAXC_CASE& c, std::ostream* os) { *os << c.name; }
class max_load : public finalize, public testing::WithParamInterface<MAXC_CASE> {};

TEST_P(max_load, counts_only_loads_above_the_limit)
{
    const MAXC_CASE& c = GetParam();
    c.has_max ? add_cell("C", "not", {{"data_7_f", c.max}}) : add_cell("C", "not", {});
    if (c.output)
        insert_outputs("y");
    add_gate("C", "g1", "a", "y");
    finalize_design();
    EXPECT_EQ(over_max_capacitance_cnt, c.count);
}

INSTANTIATE_TEST_SUITE_P(finalize, max_load, testing::Values(
    MAXC_CASE{"equal", true, 0.002, true, 0}, MAXC_CASE{"above", true, 0.0019, true, 1},
    MAXC_CASE{"no_max_with_load", false, 0.0, true, 1},
    MAXC_CASE{"no_max_no_load", false, 0.0, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(finalize, counts_gates_by_cell_and_type)
{
    add_cell("INV", "not", {});
    add_cell("INV2", "not", {});
    add_cell("X", nullptr, {{"data_1_f", 1.0}, {"data_2_f", 1.0}});
    add_gate("INV", "g1", "a", "b");
    add_gate("INV2", "g2", "b", "c");
    insert_port_list_by_name("A", "c");  // no Y: no delay, no load test
    create_instance("X", "g3");
    finalize_design();
    EXPECT_EQ(gate_count, 3);
    EXPECT_EQ(cell_used, (std::map<std::string, int>{{"INV", 1}, {"INV2", 1}, {"X", 1}}));
    EXPECT_EQ(cell_type_used, (std::map<std::string, int>{{"", 1}, {"not", 2}}));
    EXPECT_EQ(gates[2]->delay, 0.0);
    EXPECT_EQ(over_max_capacitance_cnt, 2);
}

} // namespace
