// The numbers that finalisation and the passes read from the cells'
// attribute maps, taken once per cell when the design is finalised instead
// of once per gate, and each gate's row among them.
#pragma once
#include "design.h"

#include <cstdint>
#include <vector>

struct CELL_FIGURES {
    CELL* cell = nullptr;
    double a = 0.0;     // delay slope
    double b = 0.0;     // intrinsic delay
    double leak = 0.0;  // leakage power, also the switching weight
    double cap = 0.0;   // input-pin capacitance
    double area = 0.0;
    double maxc = 0.0;  // maximum output load
    int pd = 0;         // power domain
};

struct GATE_FIGURES {
    std::vector<CELL_FIGURES> rows;  // one per cell that gates use, in lib.cells order
    std::vector<std::uint32_t> row_of_gate;  // by gate position
    const CELL_FIGURES& of_gate(std::uint32_t gate) const { return rows[row_of_gate[gate]]; }
};

// Takes the figures of every cell that gates use (looking up a missing
// attribute inserts it, as a look-up per gate would) and finds each gate's row.
GATE_FIGURES figures_of_gates();

// Written by finalize_design; read by the passes.
extern GATE_FIGURES gate_figures;
