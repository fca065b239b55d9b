// Cell figures: one row per cell that gates use, each gate's row, and look-ups
// that insert what a cell lacks.
#include "cell_figures.h"
#include "map.h"
#include "unit_support.h"

#include <gtest/gtest.h>

namespace {

TEST(cell_figures, rows_follow_the_library_and_gates_find_theirs)
{
    init_mapping(), encode_lib(), rst_new_inst(), lib_rst();
    add_cell("B", "buf", {{"data_1_f", 0.5}, {"data_6_f", 2.0}});
    add_cell("A", "not", {{"data_4_f", 0.25}});
    add_cell("C", "and", {});  // no gate uses it: no row, nothing inserted
    add_gate("B", "g1", "a", "b");
    add_gate("A", "g2", "b", "c");
    add_gate("B", "g3", "c", "d");
    const GATE_FIGURES figures = figures_of_gates();
    ASSERT_EQ(figures.rows.size(), 2u);  // A, then B: the library's order
    EXPECT_EQ(figures.rows[0].cell, &lib.cells.at("A"));
    EXPECT_EQ(figures.row_of_gate, (std::vector<std::uint32_t>{1, 0, 1}));
    EXPECT_EQ(figures.of_gate(0).a, 0.5);
    EXPECT_EQ(figures.of_gate(0).area, 2.0);
    EXPECT_EQ(figures.of_gate(1).leak, 0.25);
    EXPECT_EQ(figures.of_gate(1).area, 0.0);
    EXPECT_EQ(lib.cells.at("A").attrs.count("data_6_f"), 1u);  // inserted by the look-up
    EXPECT_EQ(lib.cells.at("C").attrs.count("data_6_f"), 0u);
}

} // namespace
