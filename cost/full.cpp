// eval_full: every pass; timing graded against the clock period, penalties
// for reached area and leakage limits, weighted by the share of domain
// crossings, compressed by a fractional power.
#include "cost_function.h"

#include <cmath>

double cost_function()
{
    parse_design_name();
    do_timing();
    do_power_area();
    do_dyn_power();
    do_cross_pd();

    double timing_factor = 20.0;
    if (max_arrival_time <= 0.8 * clock_period)
        timing_factor = 1.0;
    else if (max_arrival_time <= 0.9 * clock_period)
        timing_factor = 1.1;
    else if (max_arrival_time <= clock_period)
        timing_factor = 1.2;
    else if (max_arrival_time <= 1.1 * clock_period)
        timing_factor = 10.0;
    else if (max_arrival_time <= 1.2 * clock_period)
        timing_factor = 15.0;
    const double area_factor = (area_constraint >= 0 && sum_area >= area_constraint) ? 5.0 : 1.0;
    const double power_factor =
        (power_constraint >= 0 && sum_power >= power_constraint) ? 5.0 : 1.0;
    const double crossing_factor =
        static_cast<double>(cross_pd_cnt) / static_cast<double>(gate_count) + 1.0;
    const double power_area = sum_area * (dynamic_power * dynamic_power + sum_power);
    double product = crossing_factor * power_area;
    product *= timing_factor;
    product *= area_factor;
    product *= power_factor;
    return std::pow(product, 0.1428);
}
