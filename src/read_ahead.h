// The reader's read-ahead hook: the scanner has just read a name that the
// netlist builder may soon look up as a net or an instance, and the builder
// fetches the index slots for it ahead of that look-up. Where statements do
// not come in signal order, or names do not end in their number, nearly
// every look-up would otherwise miss the cache.
#pragma once
#include <string_view>

void anticipate_name(std::string_view name);
