// eval_dynamic_power: switching power alone; the module name is still checked.
#include "cost_function.h"

double cost_function()
{
    parse_design_name();
    do_dyn_power();
    return 1.0 + dynamic_power;
}
