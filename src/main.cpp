// The run of one evaluation, the same in all eight programs: options, the
// library and netlist reads, finalisation and loop check, the optional
// listing, then the cost line on stdout and in the output file.
#include "cost_function.h"
#include "design.h"
#include "finalize.h"
#include "listing.h"
#include "map.h"
#include "options.h"
#include "process.h"
#include "reader.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Parses the file at `path`; `read` is set to the file that was read.
int parse_file(const std::string& path, FILE_ID& read)
{
    FILE* in = std::fopen(path.c_str(), "r");
    if (!in)
        uti_error("file '%s' not found\n", path.c_str());
    read = file_id(in);
    yyin = in;
    line_no = 1;
    const int result = yyparse();
    std::fclose(in);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything is opened: a file must not take a standard stream's number.
    if (!hold_standard_descriptors())
        uti_error("file '%s' not found\n", "/dev/null");
    end_run_on_exhausted_memory();
    const std::vector<OPTION> table = {
        {"-library", String_Option, "<NoValue>"},
        {"-netlist", String_Option, "<NoValue>"},
        {"-output", String_Option, "<NoValue>"},
        {"-debug", Bool_Option, "false"},
        {"-test", Bool_Option, "false"},
    };
    const OPTION_MAP options = parse_arg(argc, argv, table);
    const bool debug = is_option_value_true(options, "-debug");
    if (!is_option_value_set_from_arg(options, "-library"))
        uti_error("library not specified\n");
    if (!is_option_value_set_from_arg(options, "-netlist"))
        uti_error("netlist not specified\n");
    if (!is_option_value_set_from_arg(options, "-output"))
        uti_error("output file not specified\n");
    const std::string library_path = get_string_option_value(options, "-library");
    const std::string netlist_path = get_string_option_value(options, "-netlist");
    const std::string output_path = get_string_option_value(options, "-output");

    init_mapping();
    encode_lib();
    rst_new_inst();
    lib_rst();

    FILE_ID library_file;
    FILE_ID netlist_file;
    int status = parse_file(library_path, library_file);
    if (lib.cell_num <= 0 || lib.attr_num <= 0)
        uti_error("lib not specified\n");
    status = parse_file(netlist_path, netlist_file);

    finalize_design();
    cyclic_check();
    if (debug)
        dump_design();

    // Opening it for writing would empty it, under whatever name it is given.
    if (names_file(output_path, library_file) || names_file(output_path, netlist_file))
        uti_error("output file '%s' is an input file\n", output_path.c_str());
    // Opened before the cost is computed: an error inside the passes leaves
    // it created and empty.
    FILE* out = std::fopen(output_path.c_str(), "w");
    if (!out)
        uti_error("can't open file '%s' to write\n", output_path.c_str());
    const double cost = cost_function();
    std::printf("cost = %lf\n", cost);
    const bool put = std::fprintf(out, "cost = %lf\n", cost) > 0;
    // A full disk or a closed stream shows only once the buffers are written out.
    if (std::fclose(out) != 0 || !put)
        uti_error("can't write to file '%s'\n", output_path.c_str());
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        uti_error("can't write to standard output\n");
    return status;
}
