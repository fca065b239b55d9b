// eval_power_area: area times total power, with a flat penalty once the area
// or the power limit is reached.
#include "cost_function.h"

#include <cmath>

double cost_function()
{
    parse_design_name();
    do_power_area();
    do_dyn_power();
    int limit_flag = 0;
    if (area_constraint >= 0 && sum_area >= area_constraint)
        limit_flag = 1;
    // The sum, not the limit alone as in the area test, is what this cost is
    // defined by: a limit of -1 still counts once the switching power reaches 1.
    if (dynamic_power + power_constraint >= 0 && sum_power >= power_constraint)
        limit_flag = 1;
    return std::pow(static_cast<double>(limit_flag) * 20000000.0 +
                        sum_area * (dynamic_power + sum_power),
                    0.5);
}
