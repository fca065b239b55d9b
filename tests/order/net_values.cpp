// Reads a library and a netlist as eval_full does, runs the timing and
// probability passes and prints "name arrival required prob" for every net,
// in name order, so that one circuit written in several ways can be compared.
// Usage: net_values LIBRARY NETLIST
#include "cost_function.h"
#include "design.h"
#include "finalize.h"
#include "records.h"
#include "encode.h"
#include "map.h"
#include "reader.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct NET_VALUES {
    std::string name;
    double arrival, required, prob;
};

// The one place that knows where the design keeps its nets and the passes
// leave their values.
std::vector<NET_VALUES> net_values()
{
    std::vector<NET_VALUES> rows;
    for (const auto& net : nets.by_position)
        rows.push_back({net->name, arrival_time[position_of(*net)],
                        required_time[position_of(*net)], set_prob[position_of(*net)]});
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        uti_error("usage: net_values LIBRARY NETLIST\n");
    init_mapping();
    encode_lib();
    rst_new_inst();
    lib_rst();
    for (int i = 1; i <= 2; ++i) {
        FILE* in = std::fopen(argv[i], "r");
        if (!in)
            uti_error("file '%s' not found\n", argv[i]);
        yyin = in;
        line_no = 1;
        yyparse();
        std::fclose(in);
    }
    finalize_design();
    cyclic_check();
    parse_design_name();
    do_timing();
    do_dyn_power();
    std::vector<NET_VALUES> rows = net_values();
    std::sort(rows.begin(), rows.end(),
              [](const NET_VALUES& a, const NET_VALUES& b) { return a.name < b.name; });
    for (const NET_VALUES& row : rows)
        std::printf("%s %.17g %.17g %.17g\n", row.name.c_str(), row.arrival, row.required,
                    row.prob);
    return 0;
}
