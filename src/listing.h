// Listings on standard output: the design (with -debug) and the library
// (for the self-test).
#pragma once

void dump_design();
void dump_lib();
