// Unit-test support: reading text through the real scanner and parser,
// building cells and gates through the builders, and the two-cell library
// several suites build on.
#pragma once
#include "design.h"
#include "reader.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>

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

inline void add_cell(const char* name, const char* type,
              std::initializer_list<std::pair<const char*, double>> reals)
{
    lib_tmp_cell_insert_attr_s("cell_name", name);
    if (type)
        lib_tmp_cell_insert_attr_s("cell_type", type);
    for (const auto& [key, value] : reals)
        lib_tmp_cell_insert_attr_f(key, value);
    lib_create_cell_from_tmp_cell();
}

inline void add_gate(const char* cell, const char* name, const std::string& in, const std::string& out)
{
    insert_port_list_by_order(in);
    insert_port_list_by_order(out);
    create_instance(cell, name);
}
