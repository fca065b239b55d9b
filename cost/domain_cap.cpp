// eval_domain_cap: power-domain crossings plus three per overloaded gate.
// The module name is free text here.
#include "cost_function.h"

double cost_function()
{
    do_cross_pd();
    return static_cast<double>(cross_pd_cnt + 3 * over_max_capacitance_cnt);
}
