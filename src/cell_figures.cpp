// Cell figures: one row per library cell, and each gate's row.
#include "cell_figures.h"

#include <bit>
#include <cstddef>

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

    explicit ROW_TABLE(const std::vector<CELL_FIGURES>& figures)
        : cells(std::bit_ceil(2 * figures.size() + 1), nullptr), rows(cells.size(), 0),
          mask(cells.size() - 1)
    {
        for (std::uint32_t row = 0; row < figures.size(); ++row) {
            std::size_t at = home(figures[row].cell);
            while (cells[at])
                at = (at + 1) & mask;
            cells[at] = figures[row].cell;
            rows[at] = row;
        }
    }
    std::size_t home(const CELL* cell) const
    {
        const auto address = reinterpret_cast<std::uintptr_t>(cell);
        return static_cast<std::size_t>((address * 0x9e3779b97f4a7c15ull) >> 32) & mask;
    }
    // Every gate's cell is a library cell, so the probe always ends.
    std::uint32_t row_of(const CELL* cell) const
    {
        std::size_t at = home(cell);
        while (cells[at] != cell)
            at = (at + 1) & mask;
        return rows[at];
    }
};

} // namespace

GATE_FIGURES figures_of_gates()
{
    GATE_FIGURES figures;
    figures.rows.reserve(lib.cells.size());
    for (auto& [name, cell] : lib.cells)
        figures.rows.push_back(figures_of(cell));
    const ROW_TABLE table(figures.rows);
    figures.row_of_gate.reserve(gates.size());
    for (const GATE* gate : gates)
        figures.row_of_gate.push_back(table.row_of(gate->cell));
    return figures;
}
