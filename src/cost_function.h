// Analysis engine: signal probability and switching power, static timing,
// leakage, area and power-domain crossings. Each pass runs at most once per
// process, after cyclic_check, and leaves its results in the globals below.
#pragma once
#include "design.h"
#include "encode.h"

#include <vector>

// Arrival and required times (do_timing) and probabilities (do_dyn_power)
// of every net, by net position; empty until their pass.
extern std::vector<double> arrival_time;
extern std::vector<double> required_time;
extern std::vector<double> set_prob;

extern double max_arrival_time;
extern double wns;
extern double tns;
extern double sum_power;  // leakage sum
extern double sum_area;
extern double dynamic_power;
extern int cross_pd_cnt;

void do_dyn_power();
void do_timing();
void do_power_area();
void do_cross_pd();

// The program's cost; each program links its own definition from cost/.
double cost_function();
