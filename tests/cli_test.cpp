// The run sequence end to end: command line, input files, the checks between
// the reads, the listing and where each kind of error leaves its trace.
#include "cli_support.h"

namespace {

class cli : public cli_run {};

TEST_P(cli, runs_the_program)
{
    run_case();
}

// Module name of the constraints 10_500_100.
const std::string constrained = "top_901502648_834393783_6084279";
const std::string one_buffer = design(constrained, "B8 g1 (a, y);\n");

const std::string listed = "module " + constrained + R"( (a, b, y);
input a, b;
output y, z;
wire n1;
B8 g1 (a, n1);
INV (.A(n1), .Y(y));
P2 g3 (.A(b));
endmodule
)";

const std::string listing = "design: " + constrained + R"(
***************************
  B8 g1( .A(a) .Y(n1) )
  INV (empty)( .A(n1) .Y(y) )
  P2 g3( .A(b) )
***************************
nets:
***************************
nets: a, driver: primary-input fanout(1): g1(A)
nets: b, driver: primary-input fanout(1): g3(A)
nets: n1, driver: g1 fanout(1): (empty)(A)
nets: y, driver: (empty) fanout(1): primary-output
nets: z, driver: (null) fanout(1): primary-output
***************************
)";

// n1's sinks are listed in statement order (g2 g3 g1), not by name nor in
// reverse. Cost: TINY (domain 2) feeds B8 and B10, and n1's wire load 0.009
// overloads it: 2 crossings + 3 x 1.
const std::string fanned = design("top", R"(wire n1, n2, n3;
TINY d (a, n1);
INV g2 (n1, y);
B8 g3 (.Y(n2), .A(n1));
B10 g1 (.A(n1), .Y(n3));
)");

const std::string fanned_listing = R"(design: top
***************************
  TINY d( .A(a) .Y(n1) )
  INV g2( .A(n1) .Y(y) )
  B8 g3( .A(n1) .Y(n2) )
  B10 g1( .A(n1) .Y(n3) )
***************************
nets:
***************************
nets: a, driver: primary-input fanout(1): d(A)
nets: n1, driver: d fanout(3): g2(A) g3(A) g1(A)
nets: n2, driver: g3 fanout(0):
nets: n3, driver: g1 fanout(0):
nets: y, driver: g2 fanout(1): primary-output
***************************
)";

// Same listing, the module name replaced by one without constraints.
const std::string unconstrained_listing = "design: top" + listing.substr(listing.find('\n'));

const std::string empty_library = R"({ "information": { "cell_num": "0", "attribute_num": "9",
  "attributes": ["cell_name"] }, "cells": [ { "cell_name": "B8", "cell_type": "buf" } ] })";

// The output declaration lacks its semicolon; the parser sees it at B8.
const std::string missing_semicolon =
    "module top (a, y);\ninput a;\noutput y\nB8 g1 (a, y);\nendmodule\n";

const std::string looped = design(constrained, "B8 g1 (n2, n1);\nB8 g2 (n1, n2);\n");

// A module name the cost function cannot decode.
const std::string undecodable = design("top", "B8 g1 (a, y);\n");
const char* const input_as_output = "Error: output file 'out.txt' is an input file\n";
const char* const out_of_memory = "Error: out of dynamic memory\n";

std::string long_name(std::size_t length)
{
    return std::string(length - 28, 't') + constrained.substr(3);
}

INSTANTIATE_TEST_SUITE_P(run, cli, testing::Values(
    CLI_CASE{"no_options", EVAL_FULL, "", cells, one_buffer, 1, "",
             "Error: library not specified\n", "(none)"},
    CLI_CASE{"no_netlist", EVAL_FULL, "-library lib.json -output out.txt", cells, one_buffer, 1,
             "", "Error: netlist not specified\n", "(none)"},
    CLI_CASE{"no_output", EVAL_FULL, "-library lib.json -netlist net.v", cells, one_buffer, 1, "",
             "Error: output file not specified\n", "(none)"},
    CLI_CASE{"unexpected_argument", EVAL_FULL,
             "-library lib.json -netlist net.v -output out.txt extra", cells, one_buffer, 1,
             "Error: Unexpected argumment 'extra'\n", "", "(none)"},
    CLI_CASE{"option_without_value", EVAL_FULL, "-library lib.json -netlist net.v -output", cells,
             one_buffer, 1, "Error: Option '-output' expected a following string\n", "", "(none)"},
    CLI_CASE{"library_not_found", EVAL_FULL, "-library nope.json -netlist net.v -output out.txt",
             cells, one_buffer, 1, "", "Error: file 'nope.json' not found\n", "(none)"},
    CLI_CASE{"netlist_not_found", EVAL_FULL, "-library lib.json -netlist nope.v -output out.txt",
             cells, one_buffer, 1, "", "Error: file 'nope.v' not found\n", "(none)"},
    CLI_CASE{"library_without_cells", EVAL_FULL, files, empty_library, one_buffer, 1, "",
             "Error: lib not specified\n", "(none)"},
    CLI_CASE{"netlist_as_library", EVAL_FULL, "-library net.v -netlist net.v -output out.txt",
             cells, design(constrained, ""), 1, "", "Error: lib not specified\n", "(none)"},
    CLI_CASE{"syntax_error", EVAL_FULL, files, cells, missing_semicolon, 1,
             "syntax error\nLine: 4\n", "", "(none)"},
    CLI_CASE{"unknown_cell", EVAL_FULL, files, cells, design("top", "B9 g1 (a, y);\n"), 1, "",
             "Line: 4 error: cell type 'B9' not found in lib\n", "(none)"},
    // Found once the whole netlist is read, at the repeat's own line.
    CLI_CASE{"gate_name_twice", EVAL_FULL, files, cells,
             design("top", "B8 g1 (a, n);\nB8 g1 (n, y);\nB8 g2 (y, z);\n"), 1, "",
             "Line: 5 error: gate name 'g1' is already exists\n", "(none)"},
    CLI_CASE{"loop_before_listing", EVAL_FULL,
             "-debug -library lib.json -netlist net.v -output out.txt", cells, looped, 1, "",
             "Error: Netlist contains self-loop\n", "(none)"},
    CLI_CASE{"output_folder_missing", EVAL_FULL,
             "-library lib.json -netlist net.v -output x/y -debug", cells, listed, 1, listing,
             "Error: can't open file 'x/y' to write\n", "(none)"},
    CLI_CASE{"folder_as_library", EVAL_FULL, "-library . -netlist net.v -output out.txt", cells,
             one_buffer, 2, "", "Error: input in flex scanner failed\n", "(none)"},
    CLI_CASE{"folder_as_netlist", EVAL_FULL, "-library lib.json -netlist . -output out.txt", cells,
             one_buffer, 2, "", "Error: input in flex scanner failed\n", "(none)"},
    CLI_CASE{"test_switch", EVAL_FULL, "-test -library lib.json -netlist net.v -output out.txt",
             cells, one_buffer, 0, "cost = 1.016962\n", "", "cost = 1.016962\n"},
    CLI_CASE{"last_value_wins", EVAL_FULL,
             "-library nope.json -netlist net.v -output out.txt -library lib.json", cells,
             one_buffer, 0, "cost = 1.016962\n", "", "cost = 1.016962\n"},
    CLI_CASE{"listing", EVAL_FULL, "-library lib.json -netlist net.v -output out.txt -debug",
             cells, listed, 0, listing + "cost = 1.703601\n", "", "cost = 1.703601\n"},
    CLI_CASE{"listing_sinks_in_statement_order", EVAL_DOMAIN_CAP,
             "-debug -library lib.json -netlist net.v -output out.txt", cells, fanned, 0,
             fanned_listing + "cost = 5.000000\n", "", "cost = 5.000000\n"},
    CLI_CASE{"module_name_after_listing", EVAL_FULL,
             "-debug -library lib.json -netlist net.v -output out.txt", cells,
             "module top" + listed.substr(listed.find(' ', 7)), 1, unconstrained_listing,
             "Error: module name error\n", ""},
    CLI_CASE{"name_of_513_bytes", EVAL_FULL, files, cells,
             design(long_name(513), "B8 g1 (a, y);\n"), 1, "", "Error: string too long\n", ""},
    CLI_CASE{"name_of_512_bytes", EVAL_FULL, files, cells,
             design(long_name(512), "B8 g1 (a, y);\n"), 0, "cost = 1.016962\n", "",
             "cost = 1.016962\n"},
    // 0.0 / 0.0 for the share of domain crossings.
    CLI_CASE{"no_gates", EVAL_FULL, files, cells, design(constrained, ""), 0, "cost = -nan\n", "",
             "cost = -nan\n"},
    CLI_CASE{"output_on_a_full_device", EVAL_FULL, "-library lib.json -netlist net.v -output "
             "/dev/full", cells, one_buffer, 1, "cost = 1.016962\n",
             "Error: can't write to file '/dev/full'\n", "(none)"},
    CLI_CASE{"output_is_the_netlist", EVAL_FULL, "-library lib.json -output out.txt -netlist "
             "out.txt", cells, undecodable, 1, "", input_as_output, undecodable,
             "mv net.v out.txt &&"},
    CLI_CASE{"output_links_to_the_library", EVAL_FULL, files, cells, one_buffer, 1, "",
             input_as_output, cells, "ln -s lib.json out.txt &&"},
    CLI_CASE{"stdout_closed", EVAL_FULL, "-debug -library lib.json -netlist net.v -output out.txt",
             cells, listed, 1, "", "Error: can't write to standard output\n", "cost = 1.703601\n",
             "", ">&-"},
    CLI_CASE{"stderr_closed", EVAL_FULL, files, cells, undecodable, 1, "", "", "", "", "2>&-"},
    CLI_CASE{"memory_for_a_name", EVAL_FULL, files, cells, design(std::string(4000000, 't'), ""),
             2, "", out_of_memory, "(none)", "ulimit -v 11000 &&"},
    CLI_CASE{"memory_for_the_parse_stack", EVAL_FULL, files, cells, "module m (a);\nB8 g (" +
             std::string(4000000, '('), 2, "", out_of_memory, "(none)", "ulimit -v 20000 &&"}),
    case_name);

} // namespace
