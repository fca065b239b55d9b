// eval_slack_power: area times total power, scaled up by the worst negative
// slack when there is one.
#include "cost_function.h"

#include <cmath>

double cost_function()
{
    parse_design_name();
    do_timing();
    do_power_area();
    do_dyn_power();
    const double x = sum_area * (dynamic_power + sum_power);
    if (wns > -1e-10)
        return std::pow(x, 0.33);
    return std::pow((5.0 - wns) * x, 0.33);
}
