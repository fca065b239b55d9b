// Finalisation (fanout, wire loads, delays, counts), the loop check and the
// two listings.
#include "design.h"
#include "map.h"
#include "reader.h"
#include "unit_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

namespace {

void add_cell(const char* name, const char* type,
              std::initializer_list<std::pair<const char*, double>> reals)
{
    lib_tmp_cell_insert_attr_s("cell_name", name);
    if (type)
        lib_tmp_cell_insert_attr_s("cell_type", type);
    for (const auto& [key, value] : reals)
        lib_tmp_cell_insert_attr_f(key, value);
    lib_create_cell_from_tmp_cell();
}

void add_gate(const char* cell, const char* name, const std::string& in, const std::string& out)
{
    insert_port_list_by_order(in);
    insert_port_list_by_order(out);
    create_instance(cell, name);
}

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

struct LOOP_CASE { const char* name; const char* body; bool loop; };
void PrintTo(const LOOP_CASE& c, std::ostream* os) { *os << c.name; }
class loop_check : public finalize, public testing::WithParamInterface<LOOP_CASE> {};

TEST_P(loop_check, rejects_only_a_cycle)
{
    parse_text(two_cells);
    parse_text("module m (a);\n" + std::string(GetParam().body) + "endmodule\n");
    finalize_design();
    if (GetParam().loop)
        EXPECT_EXIT(cyclic_check(), testing::ExitedWithCode(1),
                    "^Error: Netlist contains self-loop\n$");
    else
        cyclic_check();
}

INSTANTIATE_TEST_SUITE_P(finalize, loop_check, testing::Values(
    LOOP_CASE{"self_loop", "INV g1 (n, n);\n", true},
    LOOP_CASE{"two_gates", "INV g1 (a, b);\nINV g2 (b, a);\n", true},
    LOOP_CASE{"reconvergent",
              "input a;\nINV g1 (a, b);\nINV g2 (b, c);\nINV g3 (b, d);\nNAND2 g4 (c, d, e);\n",
              false},
    LOOP_CASE{"unreached_from_inputs",
              "input a;\nINV g0 (a, x);\nINV g1 (m, n);\nINV g2 (n, m);\n", true},
    LOOP_CASE{"behind_reconvergence",
              "NAND2 g1 (a, b, c);\nINV g2 (c, d);\nINV g3 (c, e);\nNAND2 g4 (d, e, f);\n"
              "INV g5 (f, b);\n", true},
    LOOP_CASE{"open_output", "INV g1 (.A(n));\nINV g2 (a, n);\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(finalize, million_gate_chain_passes)
{
    add_cell("INV", "not", {});
    for (int i = 0; i < 1000000; ++i)
        add_gate("INV", "(empty)", "n" + std::to_string(i), "n" + std::to_string(i + 1));
    finalize_design();
    cyclic_check();
}

struct DUMP_CASE { const char* name; const char* library; const char* netlist; const char* out; };
void PrintTo(const DUMP_CASE& c, std::ostream* os) { *os << c.name; }
class listing : public finalize, public testing::WithParamInterface<DUMP_CASE> {};

// Without a netlist the library listing is checked.
TEST_P(listing, prints_byte_for_byte)
{
    const DUMP_CASE& c = GetParam();
    if (c.library)
        parse_text(c.library);
    if (c.netlist)
        parse_text(c.netlist), finalize_design();
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    c.netlist ? dump_design() : dump_lib();
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
}

INSTANTIATE_TEST_SUITE_P(finalize, listing, testing::Values(
    DUMP_CASE{"design", two_cells,
              "module top_1 (a, y);\ninput a;\noutput y;\nINV g1 (a, n1);\nNAND2 (n1, n1, y);\n"
              "input n1;\nINV g3 (.A(y));\nINV g4 (.A(z), .Y(w));\nendmodule\n",
              "design: top_1\n***************************\n"
              "  INV g1( .A(a) .Y(n1) )\n  NAND2 (empty)( .A(n1) .B(n1) .Y(y) )\n"
              "  INV g3( .A(y) )\n  INV g4( .A(z) .Y(w) )\n"
              "***************************\nnets:\n***************************\n"
              "nets: a, driver: primary-input fanout(1): g1(A)\n"
              "nets: n1, driver: g1 fanout(2): (empty)(A) (empty)(B)\n"
              "nets: w, driver: g4 fanout(0):\n"
              "nets: y, driver: (empty) fanout(2): g3(A) primary-output\n"
              "nets: z, driver: (null) fanout(1): g4(A)\n***************************\n"},
    DUMP_CASE{"library",
              R"({ "information": { "cell_num": "2", "attribute_num": "3",
                   "attributes": ["a_f", "pd_i", "a_f"] },
                 "cells": [ { "cell_name": "NAND2", "cell_type": "nand", "data_1_f": "0.8",
                              "data_3_i": "1.5", "Zf": "2" },
                            { "cell_name": "INV", "cell_type": "not", "data_3_i": "7",
                              "data_9_s": "4" } ] })",
              nullptr,
              "lib info:\n***************************\n  cell_num: 2\n  attr_num: 3\n"
              "  attributes:\n    - a_f\n    - pd_i\n    - a_f\n***************************\n"
              "cells:\n  INV:\n    - input_num: 1\n    - cell_name: INV\n    - cell_type: not\n"
              "    - data_3_i: 7\n    - data_9_s: \n  NAND2:\n    - input_num: 2\n"
              "    - Zf: 0.000000\n    - cell_name: NAND2\n    - cell_type: nand\n"
              "    - data_1_f: 0.800000\n    - data_3_i: 0\n***************************\n"},
    DUMP_CASE{"unset_library", nullptr, nullptr,
              "lib info:\n***************************\n  cell_num: -1\n  attr_num: -1\n"
              "  attributes:\n***************************\ncells:\n***************************\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// The loop check sees instances added after an earlier check.
TEST_F(finalize, loop_check_sees_instances_added_after_a_check)
{
    add_cell("BUF", "buf", {});
    add_gate("BUF", "g1", "a", "b");
    add_gate("BUF", "g2", "b", "c");
    finalize_design();
    cyclic_check();
    add_gate("BUF", "g3", "c", "a");
    finalize_design();
    EXPECT_EXIT(cyclic_check(), testing::ExitedWithCode(1), "^Error: Netlist contains self-loop\n$");
}

} // namespace
