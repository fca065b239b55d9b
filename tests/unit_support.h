// Unit-test support: reading text through the real scanner and parser, and
// the two-cell library several suites build on.
#pragma once
#include "reader.h"

#include <cstdio>
#include <string>

// Parses `text` as one input file from line 1; returns yyparse's result.
inline int parse_text(std::string text)
{
    FILE* in = fmemopen(text.data(), text.size(), "r");
    yyin = in;
    line_no = 1;
    const int result = yyparse();
    std::fclose(in);
    return result;
}

inline const char* const two_cells = R"({ "information": { "cell_num": "2", "attribute_num": "7" },
  "cells": [ { "cell_name": "INV", "cell_type": "not", "data_5_f": "0.01" },
             { "cell_name": "NAND2", "cell_type": "nand", "data_5_f": "0.02" } ] })";
