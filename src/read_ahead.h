// The reader's read-ahead hook: the scanner has just read a name that the
// netlist builder will likely look up soon as a net, and the builder
// fetches the index slot for it ahead of that look-up. Where statements do
// not come in signal order, or names do not end in their number, nearly
// every look-up would otherwise miss the cache.
#pragma once
#include <string_view>

void anticipate_net(std::string_view name);
