// eval_inverter_budget: leakage times area, plus a heavy penalty for every
// inverter beyond one per twenty gates. The module name is free text here.
#include "cost_function.h"

#include <cmath>

double cost_function()
{
    do_power_area();
    const int budget = gate_count / 20;
    const auto inverters = cell_type_used.find("not");
    const int n = inverters == cell_type_used.end() ? 0 : inverters->second;
    const double base = std::pow(sum_area * sum_power, 0.5);
    if (n <= budget)
        return base;
    return (base + 20000000.0) + static_cast<double>(n - budget) * 2000.0;
}
