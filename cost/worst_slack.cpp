// eval_worst_slack: the worst negative slack alone.
#include "cost_function.h"

double cost_function()
{
    parse_design_name();
    do_timing();
    return 1.0 - wns;
}
