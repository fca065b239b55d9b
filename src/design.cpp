// Design database: containers, fatal reporters, library and netlist builders.
#include "design.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

int _gate_id = 1;
int _net_id = 1;

LIB lib;
CELL tmp_cell;
std::vector<std::unique_ptr<GATE>> gates;
std::unordered_map<std::string_view, std::unique_ptr<NET>> nets;
std::string design_name;
std::unordered_set<std::string> inputs(10);
std::unordered_set<std::string> outputs(10);
std::map<std::string, int> cell_used;
std::map<std::string, int> cell_type_used;
int gate_count = 0;
int over_max_capacitance_cnt = 0;
std::string attr_a, attr_b, attr_pd, attr_leak, attr_cap, attr_area, attr_maxc;
int port_map = PORT_MAP_NONE;
std::map<std::string, std::string> port_map_name;
std::vector<std::string> port_map_order;
std::unordered_map<std::string_view, GATE*> _gate_map;

namespace {

std::vector<NET*> sorted_nets;

[[noreturn]] void report_and_exit(const char* format, va_list args)
{
    std::vfprintf(stderr, format, args);
    std::exit(1);
}

const std::string& text_attr(CELL& cell, const char* key)
{
    return cell.attrs[key].sval;
}

// Hooks an input pin named `pin_name` of `gate` onto `net`.
PIN* connect_input(GATE* gate, NET* net, const char* pin_name)
{
    gate->in_pins.push_back(std::make_unique<PIN>());
    PIN* pin = gate->in_pins.back().get();
    pin->dir = PIN_IN;
    net->sinks.push_back(pin);
    net->load_cap += gate->cell->attrs[attr_cap].fval;
    pin->name = pin_name;
    pin->gate = gate;
    pin->net = net;
    return pin;
}

// Makes the gate's output pin the driver of `net`; `driven_format` is the
// message for a net that another gate already drives.
void connect_output(GATE* gate, NET* net, const char* driven_format)
{
    PIN* pin = &gate->out_pin;
    pin->dir = PIN_OUT;
    if (net->driver)
        uti_error_at(driven_format, net->name.c_str(), net->driver->gate->name.c_str());
    if (inputs.count(net->name))
        uti_error_at("Net '%s' is driven by primary-input\n", net->name.c_str());
    net->driver = pin;
    pin->name = "Y";
    pin->gate = gate;
    pin->net = net;
}

void connect_by_name(GATE* gate, const std::string& cell_ref)
{
    for (const auto& [pin_name, net_name] : port_map_name) {
        NET* net = find_or_add_net(net_name);
        if (pin_name == "A" || pin_name == "B") {
            if (pin_name == "B" && gate->cell->input_num == 1)
                uti_error_at("'%s' gate doesn't have pin 'B'\n", cell_ref.c_str());
            connect_input(gate, net, pin_name.c_str());
        } else if (pin_name == "Y") {
            connect_output(gate, net, "Net '%s' is already driven by gate '%s'\n");
        } else {
            uti_error_at("Pin name '%s' not found\n", pin_name.c_str());
        }
    }
}

void connect_by_order(GATE* gate, const std::string& cell_ref)
{
    const std::size_t inputs_of_cell = gate->cell->input_num;
    if (port_map_order.size() != inputs_of_cell + 1)
        uti_error_at("cell type '%s' needs %d ports\n", cell_ref.c_str(),
                     static_cast<int>(inputs_of_cell + 1));
    for (std::size_t i = 0; i < inputs_of_cell; ++i)
        connect_input(gate, find_or_add_net(port_map_order[i]), i == 0 ? "A" : "B");
    connect_output(gate, find_or_add_net(port_map_order[inputs_of_cell]),
                   "Net '%s' is already drived by gate '%s'\n");
}

} // namespace

void LIB::reset()
{
    cell_num = -1;
    attr_num = -1;
    attributes.clear();
    cells.clear();
}

const std::vector<NET*>& net_order()
{
    if (sorted_nets.size() != nets.size()) {
        sorted_nets.clear();
        sorted_nets.reserve(nets.size());
        for (const auto& entry : nets)
            sorted_nets.push_back(entry.second.get());
        std::sort(sorted_nets.begin(), sorted_nets.end(),
                  [](const NET* a, const NET* b) { return a->name < b->name; });
    }
    return sorted_nets;
}

void uti_error(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::fputs("Error: ", stderr);
    report_and_exit(format, args);
}

void uti_error_at(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::fprintf(stderr, "Line: %d error: ", line_no);
    report_and_exit(format, args);
}

void lib_rst()
{
    lib.reset();
    tmp_cell.attrs.clear();
}

void lib_set_cell_num(int count)
{
    lib.cell_num = count;
}

void lib_set_attr_num(int count)
{
    lib.attr_num = count;
}

void lib_add_attr(const std::string& name)
{
    lib.attributes.push_back(name);
}

// Each setter keeps its own working value whose other members are never
// written, so every stored entry carries exactly one set member.
void lib_tmp_cell_insert_attr_i(const std::string& key, int value)
{
    static LIB_ATTR attr;
    attr.ival = value;
    tmp_cell.attrs[key] = attr;
}

void lib_tmp_cell_insert_attr_f(const std::string& key, double value)
{
    static LIB_ATTR attr;
    attr.fval = value;
    tmp_cell.attrs[key] = attr;
}

void lib_tmp_cell_insert_attr_s(const std::string& key, const std::string& value)
{
    static LIB_ATTR attr;
    attr.sval = value;
    tmp_cell.attrs[key] = attr;
}

void lib_create_cell_from_tmp_cell()
{
    const std::string name = text_attr(tmp_cell, "cell_name");
    if (lib.cells.count(name))
        uti_error_at("Cell '%s' already exists\n", name.c_str());
    const std::string& type = text_attr(tmp_cell, "cell_type");
    tmp_cell.input_num = (type == "buf" || type == "not") ? 1 : 2;
    lib.cells[name] = tmp_cell;
    tmp_cell.attrs.clear();
}

void rst_new_inst()
{
    port_map = PORT_MAP_NONE;
    port_map_order.clear();
    port_map_name.clear();
}

void insert_port_list_by_order(const std::string& net_name)
{
    if (port_map == PORT_MAP_NAME)
        uti_error_at("Port connections cannot be mixed ordered and named\n");
    port_map = PORT_MAP_ORDER;
    port_map_order.push_back(net_name);
}

void insert_port_list_by_name(const std::string& pin_name, const std::string& net_name)
{
    if (port_map == PORT_MAP_ORDER)
        uti_error_at("Port connections cannot be mixed ordered and named\n");
    port_map = PORT_MAP_NAME;
    if (port_map_name.count(pin_name))
        uti_error_at("Port '%s' specified more than once\n", pin_name.c_str());
    port_map_name[pin_name] = net_name;
}

NET* find_or_add_net(const std::string& name)
{
    const auto found = nets.find(name);
    if (found != nets.end())
        return found->second.get();
    auto net = std::make_unique<NET>();
    net->name = name;
    NET* added = net.get();
    nets.emplace(added->name, std::move(net));
    return added;
}

void insert_inputs(const std::string& name)
{
    inputs.insert(name);
    find_or_add_net(name);
}

void insert_outputs(const std::string& name)
{
    outputs.insert(name);
    find_or_add_net(name);
}

void create_instance(const std::string& cell_ref, const std::string& inst_name)
{
    const auto cell = lib.cells.find(cell_ref);
    if (cell == lib.cells.end())
        uti_error_at("cell type '%s' not found in lib\n", cell_ref.c_str());
    const bool named = inst_name != "(empty)";
    if (named && _gate_map.count(inst_name))
        uti_error_at("gate name '%s' is already exists\n", inst_name.c_str());
    gates.push_back(std::make_unique<GATE>());
    GATE* gate = gates.back().get();
    gate->name = inst_name;
    if (named)
        _gate_map.emplace(gate->name, gate);
    gate->cell = &cell->second;
    if (port_map == PORT_MAP_NAME)
        connect_by_name(gate, cell_ref);
    else if (port_map == PORT_MAP_ORDER)
        connect_by_order(gate, cell_ref);
    else
        uti_error_at("Specify at least one port\n");
    rst_new_inst();
}
