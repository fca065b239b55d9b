// Analysis engine: signal probability and switching power, static timing,
// leakage, area and power-domain crossings. Each pass runs at most once per
// process and leaves its results in the globals below.
#pragma once
#include "design.h"
#include "encode.h"

#include <vector>

// Per-net values of a walk by net position (NET::index), with whether each is
// known yet; empty until the walk that fills them.
struct NET_MEMO {
    std::vector<double> value;
    std::vector<unsigned char> known;
};

// Memoised arrival and required times (do_timing) and probabilities
// (do_dyn_power) of every net.
extern NET_MEMO arrival_time;
extern NET_MEMO required_time;
extern NET_MEMO set_prob;

extern double max_arrival_time;
extern double wns;
extern double tns;
extern double sum_power;  // leakage sum
extern double sum_area;
extern double dynamic_power;
extern int cross_pd_cnt;

// Single-net queries: the probability that the net is 1, its arrival time,
// its required time. Each memoises the nets it computes on the way, but not
// the asked-for net itself; each reads every gate once, so the passes below
// use the walks behind them instead of calling them net by net.
double set_prob_rec(NET* net);
double arr_time_rec(NET* net);
double req_time_rec(NET* net);
void do_dyn_power();
void do_timing();
void do_power_area();
void do_cross_pd();

// The program's cost; each program links its own definition from cost/.
double cost_function();
