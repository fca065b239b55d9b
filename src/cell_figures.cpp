// Cell figures: one row per cell that gates use, and each gate's row.
#include "cell_figures.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <utility>

GATE_FIGURES gate_figures;

namespace {

CELL_FIGURES figures_of(CELL& cell)
{
    CELL_FIGURES figures;
    figures.cell = &cell;
    figures.a = cell.attrs[attr_a].fval;
    figures.b = cell.attrs[attr_b].fval;
    figures.leak = cell.attrs[attr_leak].fval;
    figures.cap = cell.attrs[attr_cap].fval;
    figures.area = cell.attrs[attr_area].fval;
    figures.maxc = cell.attrs[attr_maxc].fval;
    figures.pd = cell.attrs[attr_pd].ival;
    return figures;
}

// Rows by cell address: an open-addressing table at most half full, for a
// look-up per gate that costs a multiplication and a compare or two.
struct ROW_TABLE {
    std::vector<const CELL*> cells;
    std::vector<std::uint32_t> rows;
    std::size_t mask = 0;

    explicit ROW_TABLE(std::size_t most_cells)
        : cells(std::bit_ceil(2 * most_cells + 1), nullptr), rows(cells.size(), 0),
          mask(cells.size() - 1)
    {
    }
    std::size_t home(const CELL* cell) const
    {
        const auto address = reinterpret_cast<std::uintptr_t>(cell);
        return static_cast<std::size_t>((address * 0x9e3779b97f4a7c15ull) >> 32) & mask;
    }
    // The slot of the cell, or the empty slot where it would go.
    std::size_t slot_of(const CELL* cell) const
    {
        std::size_t at = home(cell);
        while (cells[at] && cells[at] != cell)
            at = (at + 1) & mask;
        return at;
    }
};

} // namespace

// Only the cells that gates use are read, in library order: a look-up per
// gate would insert what those cells lack and touch no other cell. One walk
// over the gates numbers their cells as first met; the library's order then
// renumbers them.
GATE_FIGURES figures_of_gates()
{
    ROW_TABLE table(std::min(gates.size(), lib.cells.size()));
    std::vector<std::uint32_t> row_of_gate(gates.size());
    std::uint32_t met = 0;
    for (std::size_t g = 0; g < gates.size(); ++g) {
        const CELL* cell = gates[g]->cell;
        const std::size_t at = table.slot_of(cell);
        if (!table.cells[at]) {
            table.cells[at] = cell;
            table.rows[at] = met++;
        }
        row_of_gate[g] = table.rows[at];
    }
    GATE_FIGURES figures;
    std::vector<std::uint32_t> row_of_met(met);
    for (auto& [name, cell] : lib.cells) {
        const std::size_t at = table.slot_of(&cell);
        if (table.cells[at]) {
            row_of_met[table.rows[at]] = static_cast<std::uint32_t>(figures.rows.size());
            figures.rows.push_back(figures_of(cell));
        }
    }
    for (std::uint32_t& row : row_of_gate)
        row = row_of_met[row];
    figures.row_of_gate = std::move(row_of_gate);
    return figures;
}
