// The loop check's order of the gates over the design's graph.
#include "design.h"
#include "finalize.h"
#include "graph.h"
#include "map.h"
#include "unit_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class graph : public testing::Test {
protected:
    void SetUp() override { init_mapping(), encode_lib(), rst_new_inst(), lib_rst(); }
};

struct LOOP_CASE { const char* name; const char* body; bool loop; };
void PrintTo(const LOOP_CASE& c, std::ostream* os) { *os << c.name; }
class loop_check : public graph, public testing::WithParamInterface<LOOP_CASE> {};

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

INSTANTIATE_TEST_SUITE_P(graph, loop_check, testing::Values(
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

// Each place of the order carries its gate's nets: a gate connected by B
// alone has it first, and a gate without an output has none.
TEST_F(graph, order_carries_each_gates_nets)
{
    parse_text(two_cells);
    parse_text("module m (a);\nNAND2 g1 (.B(c), .Y(d));\nINV g0 (a, c);\n"
               "NAND2 g2 (.A(d), .B(a));\nendmodule\n");
    finalize_design();
    cyclic_check();
    const DESIGN_GRAPH& graph = design_graph;
    ASSERT_EQ(graph.order, (std::vector<std::uint32_t>{1, 0, 2}));
    const auto name = [](std::int32_t net) {
        return net == no_position ? std::string("-") : nets.by_position[net]->name;
    };
    std::vector<std::string> places;
    for (std::size_t at = 0; at < graph.order.size(); ++at)
        places.push_back(name(graph.order_out[at]) + " " + name(graph.order_in[2 * at]) + " " +
                         name(graph.order_in[2 * at + 1]));
    EXPECT_EQ(places, (std::vector<std::string>{"c a -", "d c -", "- d a"}));
}

TEST_F(graph, million_gate_chain_passes)
{
    add_cell("INV", "not", {});
    for (int i = 0; i < 1000000; ++i)
        add_gate("INV", "(empty)", "n" + std::to_string(i), "n" + std::to_string(i + 1));
    finalize_design();
    cyclic_check();
}

} // namespace
