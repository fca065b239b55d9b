// Analysis engine: signal probability and switching power, static timing,
// leakage, area and power-domain crossings. Each pass runs at most once per
// process and leaves its results in the globals below.
#pragma once
#include "design.h"
#include "encode.h"

extern double max_arrival_time;
extern double wns;
extern double tns;
extern double sum_power;  // leakage sum
extern double sum_area;
extern double dynamic_power;
extern int cross_pd_cnt;

// Probability that the net is 1; memoises the nets it computes on the way.
double set_prob_rec(NET* net);
void do_dyn_power();
double arr_time_rec(NET* net);
double req_time_rec(NET* net);
void do_timing();
void do_power_area();
void do_cross_pd();

// The program's cost; each program links its own definition from cost/.
double cost_function();
