// Test doubles of the builders the grammar calls. Each call is kept as
// "name(args)@line", with line_no at the moment of the call.
#pragma once
#include <string>
#include <vector>

extern std::vector<std::string> calls;

// The generated scanner, renamed; yylex records a newly set design_name and
// then calls it.
int scanner_yylex();

// A double as its shortest text that reads back to the same value.
std::string shortest(double value);
