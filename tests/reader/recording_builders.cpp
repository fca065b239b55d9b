#include "recording_builders.h"

#include "design.h"
#include "read_ahead.h"
#include "reader.h"

#include <charconv>

std::vector<std::string> calls;
std::string design_name;

namespace {
std::string seen_design_name;

void record(const std::string& name, const std::string& args)
{
    calls.push_back(name + "(" + args + ")@" + std::to_string(line_no));
}
}  // namespace

std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// The parser assigns design_name between two reads and line_no moves only
// inside a read, so a check on entry gives both the order and the line.
int yylex()
{
    if (design_name != seen_design_name) {
        seen_design_name = design_name;
        record("design_name", design_name);
    }
    return scanner_yylex();
}

void lib_set_cell_num(int count) { record("lib_set_cell_num", std::to_string(count)); }
void lib_set_attr_num(int count) { record("lib_set_attr_num", std::to_string(count)); }
void lib_add_attr(std::string_view name) { record("lib_add_attr", std::string(name)); }
void lib_tmp_cell_insert_attr_s(std::string_view key, std::string_view value)
{
    record("lib_tmp_cell_insert_attr_s", std::string(key) + "," + std::string(value));
}
void lib_tmp_cell_insert_attr_i(std::string_view key, int value)
{
    record("lib_tmp_cell_insert_attr_i", std::string(key) + "," + std::to_string(value));
}
void lib_tmp_cell_insert_attr_f(std::string_view key, double value)
{
    record("lib_tmp_cell_insert_attr_f", std::string(key) + "," + shortest(value));
}
void lib_create_cell_from_tmp_cell() { record("lib_create_cell_from_tmp_cell", ""); }
void insert_inputs(std::string_view name) { record("insert_inputs", std::string(name)); }
void insert_outputs(std::string_view name) { record("insert_outputs", std::string(name)); }
void insert_port_list_by_order(std::string_view net_name)
{
    record("insert_port_list_by_order", std::string(net_name));
}
void insert_port_list_by_name(std::string_view pin_name, std::string_view net_name)
{
    record("insert_port_list_by_name", std::string(pin_name) + "," + std::string(net_name));
}
void create_instance(std::string_view cell_ref, std::string_view inst_name)
{
    record("create_instance", std::string(cell_ref) + "," + std::string(inst_name));
}
// A fetch hint and the deferred name check, not builder calls: nothing to record.
void anticipate_net(std::string_view) {}
void check_instance_names() {}
