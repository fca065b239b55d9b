// The design and library listings, byte for byte.
#include "design.h"
#include "finalize.h"
#include "listing.h"
#include "map.h"
#include "unit_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class listing_fixture : public testing::Test {
protected:
    void SetUp() override { init_mapping(), encode_lib(), rst_new_inst(), lib_rst(); }
};

struct DUMP_CASE { const char* name; const char* library; const char* netlist; const char* out; };
void PrintTo(const DUMP_CASE& c, std::ostream* os) { *os << c.name; }
class listing : public listing_fixture, public testing::WithParamInterface<DUMP_CASE> {};

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

INSTANTIATE_TEST_SUITE_P(dump, listing, testing::Values(
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
