// Design finalisation and the combinational-loop check, run once the
// netlist is read.
#pragma once

// Wire-load slope for a net's fanout.
double slp_for_fout_size(int fanout);
// The nets' sinks, fanout and wire loads, the gates' delays, the usage and
// violation counts; also the design's graph (graph.h) and the cell figures
// (cell_figures.h) that the passes read.
void finalize_design();
// Orders the design's gates (graph.h); reports "Netlist contains self-loop"
// and exits when no such order exists.
void cyclic_check();
