// Library and netlist builders fed through the real reader.
#include "design.h"
#include "finalize.h"
#include "map.h"
#include "reader.h"
#include "unit_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

// The whole stream, byte for byte, as a death-test pattern.
std::string exact(const std::string& text)
{
    std::string pattern = "^";
    for (char c : text)
        pattern += std::strchr("\\^$.|?*+()[]{}", c) ? std::string("\\") + c : std::string(1, c);
    return pattern + "$";
}

class design : public testing::Test {
protected:
    void SetUp() override { init_mapping(), encode_lib(), rst_new_inst(), lib_rst(); }
};

struct BUILD_CASE {
    const char* name;
    const char* library;  // null: the two-cell library
    const char* body;     // null: only the library is read
    const char* err;
};
void PrintTo(const BUILD_CASE& c, std::ostream* os) { *os << c.name; }
class design_error : public design, public testing::WithParamInterface<BUILD_CASE> {};

TEST_P(design_error, ends_the_run_at_its_line)
{
    const BUILD_CASE& c = GetParam();
    const std::string netlist = "module m (a);\n" + std::string(c.body ? c.body : "");
    EXPECT_EXIT({ parse_text(c.library ? c.library : two_cells); if (c.body) parse_text(netlist); },
                testing::ExitedWithCode(1), exact(c.err));
}

INSTANTIATE_TEST_SUITE_P(builders, design_error, testing::Values(
    BUILD_CASE{"ordered_then_named", nullptr, "INV g1 (a, .Y(b));\nendmodule\n",
               "Line: 2 error: Port connections cannot be mixed ordered and named\n"},
    BUILD_CASE{"named_then_ordered", nullptr, "INV g1 (.A(a), b);\nendmodule\n",
               "Line: 2 error: Port connections cannot be mixed ordered and named\n"},
    BUILD_CASE{"pin_named_twice", nullptr, "INV g1 (.A(a),\n .A(b), .Y(c));\n",
               "Line: 3 error: Port 'A' specified more than once\n"},
    // The second list starts from nothing, though its map nodes are reused.
    BUILD_CASE{"pin_named_twice_after_a_list", nullptr,
               "NAND2 g0 (.A(a), .B(b), .Y(y));\nINV g1 (.Y(c), .Y(d));\n",
               "Line: 3 error: Port 'Y' specified more than once\n"},
    BUILD_CASE{"unknown_pin_after_a_list", nullptr,
               "NAND2 g0 (.A(a), .B(b), .Y(y));\nINV g1 (.Q(c));\n",
               "Line: 3 error: Pin name 'Q' not found\n"},
    BUILD_CASE{"cell_not_found", nullptr, "input a;\nXOR9 g1 (a, b, c);\n",
               "Line: 3 error: cell type 'XOR9' not found in lib\n"},
    BUILD_CASE{"gate_name_twice", nullptr, "INV g1 (a, b);\nINV g1 (a, c);\n",
               "Line: 3 error: gate name 'g1' is already exists\n"},
    // A repeated instance name is checked once the netlist is read, and still
    // comes before every fault after it, in its statement or later.
    BUILD_CASE{"gate_name_twice_then_syntax_error", nullptr,
               "INV g1 (a, b);\nINV g1 (a, c);\nINV g2 (a d);\nendmodule\n",
               "Line: 3 error: gate name 'g1' is already exists\n"},
    BUILD_CASE{"gate_name_twice_then_character", nullptr, "INV g1 (a, b);\nINV g1 (a, c);\n$",
               "Line: 3 error: gate name 'g1' is already exists\n"},
    BUILD_CASE{"gate_name_twice_then_unknown_cell", nullptr,
               "INV g1 (a, b);\nINV g1 (a, c);\nXOR9 g2 (a, d);\n",
               "Line: 3 error: gate name 'g1' is already exists\n"},
    BUILD_CASE{"gate_name_twice_then_driven", nullptr,
               "INV g1 (a, b);\nINV g1 (a, c);\nINV g2 (a, b);\n",
               "Line: 3 error: gate name 'g1' is already exists\n"},
    BUILD_CASE{"gate_name_twice_with_bad_ports", nullptr, "INV g1 (a, b);\nINV g1 (a, b, c);\n",
               "Line: 3 error: gate name 'g1' is already exists\n"},
    BUILD_CASE{"earlier_repeat_of_two", nullptr,
               "INV g5 (a, b);\nINV g4 (a, c);\nINV g5 (a, d);\nINV g4 (a, e);\n",
               "Line: 4 error: gate name 'g5' is already exists\n"},
    // Long names that differ only in a number's leading zeros share a
    // look-up key, but not a name.
    BUILD_CASE{"names_of_one_key", nullptr,
               "INV inverter_7 (a, b);\nINV inverter_007 (a, c);\nINV inverter_07 (a, d);\n"
               "INV inverter_007 (a, e);\n",
               "Line: 5 error: gate name 'inverter_007' is already exists\n"},
    BUILD_CASE{"pin_b_on_one_input", nullptr, "INV g1 (.A(a), .B(b), .Y(c));\n",
               "Line: 2 error: 'INV' gate doesn't have pin 'B'\n"},
    // Y's net is already driven, but the list is walked A, B, Y.
    BUILD_CASE{"pin_b_before_driven_y", nullptr, "INV g0 (x, n);\nINV g1 (.Y(n), .B(b));\n",
               "Line: 3 error: 'INV' gate doesn't have pin 'B'\n"},
    BUILD_CASE{"named_already_driven", nullptr, "NAND2 g1 (a, b, n);\nINV g2 (.A(a), .Y(n));\n",
               "Line: 3 error: Net 'n' is already driven by gate 'g1'\n"},
    BUILD_CASE{"driven_by_unnamed", nullptr, "INV (a, n);\nINV g2 (.Y(n), .A(a));\n",
               "Line: 3 error: Net 'n' is already driven by gate '(empty)'\n"},
    BUILD_CASE{"ordered_already_drived", nullptr, "INV g1 (a, n);\n\nINV g2 (b, n);\n",
               "Line: 4 error: Net 'n' is already drived by gate 'g1'\n"},
    BUILD_CASE{"drives_primary_input", nullptr, "input n;\nINV g1 (a, n);\n",
               "Line: 3 error: Net 'n' is driven by primary-input\n"},
    // The driver is named first when a driven net is declared an input as well.
    BUILD_CASE{"driven_then_declared_input", nullptr, "INV g1 (a, n);\ninput n;\nINV g2 (b, n);\n",
               "Line: 4 error: Net 'n' is already drived by gate 'g1'\n"},
    // Q sorts before Y, whose net is already driven.
    BUILD_CASE{"unknown_pin_before_y", nullptr, "INV g0 (x, n);\nINV g1 (.Y(n), .Q(b));\n",
               "Line: 3 error: Pin name 'Q' not found\n"},
    BUILD_CASE{"two_nets_on_nand", nullptr, "NAND2 g1 (a, b);\n",
               "Line: 2 error: cell type 'NAND2' needs 3 ports\n"},
    BUILD_CASE{"three_nets_on_inv", nullptr, "INV g1 (a, n, y);\n",
               "Line: 2 error: cell type 'INV' needs 2 ports\n"},
    BUILD_CASE{"cell_twice", "{ \"information\": { \"cell_num\": \"2\" },\n\"cells\": [ { "
               "\"cell_name\": \"INV\" },\n{ \"cell_name\": \"INV\",\n\"cell_type\": \"buf\" } ] }",
               nullptr,
               "Line: 4 error: Cell 'INV' already exists\n"},
    // Neither cell has a text name: one has no entry, the other a number.
    BUILD_CASE{"empty_name_twice", "{ \"information\": { \"cell_num\": \"2\" },\n\"cells\": [ { "
               "\"cell_type\": \"not\" },\n{ \"cell_name\": \"12\" } ] }", nullptr,
               "Line: 3 error: Cell '' already exists\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Unnamed gates, lists without Y and inputs declared late are in the listing test.
TEST_F(design, connects_pins_and_sums_loads)
{
    parse_text(two_cells);
    parse_text("module m (a);\nINV g0 (x, a);\nNAND2 g1 (a, a, y);\nINV g2 (y, n);\ninput n;\n"
          "endmodule\n");
    const NET* a = nets.at("a");
    // Sinks and pin loads follow from the pins when the design is finalised.
    EXPECT_EQ(a->sinks.size(), 0u);
    EXPECT_EQ(a->load_cap, 0.0);
    finalize_design();
    ASSERT_EQ(a->sinks.size(), 2u);
    EXPECT_EQ(a->sinks[0], gates[1]->in_pins[0]);
    EXPECT_EQ(a->sinks[1], gates[1]->in_pins[1]);
    EXPECT_EQ(std::string(a->sinks[0]->name) + std::string(a->sinks[1]->name), "AB");
    EXPECT_EQ(a->sinks[1]->dir, PIN_IN);
    EXPECT_EQ(a->load_cap, 0.0 + 0.02 + 0.02);
    EXPECT_EQ(a->driver, &gates[0]->out_pin);
    EXPECT_EQ(gates[0]->out_pin.dir, PIN_OUT);
    EXPECT_EQ(nets.at("n")->driver, &gates[2]->out_pin);
    EXPECT_EQ(nets.at("n")->id, 4);
    EXPECT_EQ(gates[2]->id, 3);
}

TEST(design_nets, are_found_by_whole_name)
{
    NET* first = find_or_add_net("abcdefgh_first");
    NET* second = find_or_add_net("abcdefgh_second");
    EXPECT_NE(first, second);
    EXPECT_EQ(find_or_add_net("abcdefgh_first"), first);
    EXPECT_EQ(nets.find("abcdefgh_second"), second);
    EXPECT_EQ(nets.find("abcdefgh"), nullptr);
    EXPECT_THROW(nets.at("abcdefgh"), std::out_of_range);
    EXPECT_EQ(nets.size(), 2u);
}

TEST_F(design, setters_commit_and_reset)
{
    lib_tmp_cell_insert_attr_i("k", 5);
    lib_tmp_cell_insert_attr_f("k", 2.5);  // replaces all three members
    EXPECT_EQ(tmp_cell.attrs["k"].ival, 0);
    EXPECT_EQ(tmp_cell.attrs["k"].fval, 2.5);
    lib_tmp_cell_insert_attr_s("k", "t");
    EXPECT_EQ(tmp_cell.attrs["k"].fval, 0.0);
    EXPECT_EQ(tmp_cell.attrs["k"].sval, "t");
    // cell_type to input_num; null: no cell_type entry, which the commit adds.
    const std::pair<const char*, std::size_t> types[] = {
        {"buf", 1}, {"not", 1}, {"and", 2}, {"NOT", 2}, {"", 2}, {nullptr, 2}};
    for (const auto& [type, inputs_of_cell] : types) {
        const std::string name = type ? std::string("C_") + type : "C";
        lib_tmp_cell_insert_attr_s("cell_name", name);
        if (type)
            lib_tmp_cell_insert_attr_s("cell_type", type);
        lib_create_cell_from_tmp_cell();
        EXPECT_EQ(lib.cells.at(name).input_num, inputs_of_cell) << name;
        EXPECT_EQ(lib.cells.at(name).attrs.count("cell_type"), 1u) << name;
        EXPECT_TRUE(tmp_cell.attrs.empty());
    }
    lib_set_cell_num(3), lib_set_attr_num(4), lib_add_attr("a_f");
    lib_tmp_cell_insert_attr_f("left", 1.0);
    lib_rst();
    EXPECT_EQ(lib.cell_num, -1);
    EXPECT_EQ(lib.attr_num, -1);
    EXPECT_TRUE(lib.attributes.empty() && lib.cells.empty() && tmp_cell.attrs.empty());
}

} // namespace
