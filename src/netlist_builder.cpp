// Netlist builder: the port list of the instance statement being read, the
// primary inputs and outputs, and the gates with their pins and nets.
#include "design.h"

#include "name_index.h"
#include "read_ahead.h"
#include "records.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Byte-wise order of names, the order of std::string's own comparison,
// compared in line: the pin names of a connection list are nearly always
// one letter, and a library call per comparison cost more than the rest of
// the look-up.
struct NAME_ORDER {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const
    {
        const std::size_t common = a.size() < b.size() ? a.size() : b.size();
        for (std::size_t i = 0; i < common; ++i)
            if (a[i] != b[i])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
        return a.size() < b.size();
    }
};

// Connection list of the instance statement being read.
int port_map = PORT_MAP_NONE;
std::map<std::string, std::string, NAME_ORDER> port_map_name;
// Nodes of port_map_name kept from earlier statements for reuse: a named
// connection then costs no allocation.
std::vector<decltype(port_map_name)::node_type> spare_port_nodes;
std::vector<std::string> port_map_order;
// Named instances (positions in gates), for the duplicate-name check only.
NAME_INDEX _gate_map;

std::string_view net_name_at(std::size_t position)
{
    return nets.by_position[position]->name;
}

std::string_view gate_name_at(std::size_t position)
{
    return gates[position]->name;
}

// The index entry of the net named `name`, which is added when there is
// none. The slot's mark tells that an output may no longer connect to the
// net: the net is a primary input or a gate drives it. It is kept where the
// look-up has just been, not read from the net's record or the gates: in a
// netlist out of signal order the record is nearly always far out of cache
// at an output connection.
NAME_ENTRY net_entry_of(std::string_view name)
{
    const std::size_t next = nets.size();
    const NAME_ENTRY entry = index_entry(nets.index, name, next, net_name_at);
    if (entry.position == next) {
        NET* added = make_net();
        nets.by_position.push_back(added);
        added->name = name;
    }
    return entry;
}

// Hooks an input pin named `pin_name` of `gate` onto `net`. The net's sinks
// and load follow from its pins when the design is finalised.
void connect_input(GATE* gate, NET* net, const char* pin_name)
{
    PIN& pin = gate->in_pins.add();
    pin.dir = PIN_IN;
    pin.name = pin_name;
    pin.gate = gate;
    pin.net = net;
}

// Ends the run at an output connection to `net`, which a gate drives or
// which is a primary input. The records name a net's driver only once the
// design is finalised, so the driver is looked for among the gates.
[[noreturn]] void reject_output(const NET* net, const char* driven_format)
{
    for (const GATE* other : gates)
        if (other->out_pin.net == net)
            uti_error_at(driven_format, net->name.c_str(), other->name.c_str());
    uti_error_at("Net '%s' is driven by primary-input\n", net->name.c_str());
}

// Makes the gate's output pin drive the net named `name`; `driven_format`
// is the message for a net that another gate already drives.
void connect_output(GATE* gate, std::string_view name, const char* driven_format)
{
    PIN* pin = &gate->out_pin;
    pin->dir = PIN_OUT;
    const NAME_ENTRY entry = net_entry_of(name);
    NET* net = net_at(static_cast<std::uint32_t>(entry.position));
    if (entry.slot->position & name_mark)
        reject_output(net, driven_format);
    entry.slot->position |= name_mark;
    pin->name = "Y";
    pin->gate = gate;
    pin->net = net;
}

void connect_by_name(GATE* gate, std::string_view cell_ref)
{
    for (const auto& [pin_name, net_name] : port_map_name) {
        if (pin_name == "A" || pin_name == "B") {
            NET* net = find_or_add_net(net_name);
            if (pin_name == "B" && gate->cell->input_num == 1)
                uti_error_at("'%s' gate doesn't have pin 'B'\n", std::string(cell_ref).c_str());
            connect_input(gate, net, pin_name == "A" ? "A" : "B");
        } else if (pin_name == "Y") {
            connect_output(gate, net_name, "Net '%s' is already driven by gate '%s'\n");
        } else {
            uti_error_at("Pin name '%s' not found\n", pin_name.c_str());
        }
    }
}

void connect_by_order(GATE* gate, std::string_view cell_ref)
{
    const std::size_t inputs_of_cell = gate->cell->input_num;
    if (port_map_order.size() != inputs_of_cell + 1)
        uti_error_at("cell type '%s' needs %d ports\n", std::string(cell_ref).c_str(),
                     static_cast<int>(inputs_of_cell + 1));
    for (std::size_t i = 0; i < inputs_of_cell; ++i)
        connect_input(gate, find_or_add_net(port_map_order[i]), i == 0 ? "A" : "B");
    connect_output(gate, port_map_order[inputs_of_cell],
                   "Net '%s' is already drived by gate '%s'\n");
}

} // namespace

NET* NET_MAP::find(std::string_view name) const
{
    std::size_t position = 0;
    return index_find(index, name, net_name_at, position) ? by_position[position] : nullptr;
}

NET* NET_MAP::at(std::string_view name) const
{
    NET* net = find(name);
    if (!net)
        throw std::out_of_range("no net named " + std::string(name));
    return net;
}

void rst_new_inst()
{
    port_map = PORT_MAP_NONE;
    port_map_order.clear();
    while (!port_map_name.empty())
        spare_port_nodes.push_back(port_map_name.extract(port_map_name.begin()));
}

void insert_port_list_by_order(std::string_view net_name)
{
    if (port_map == PORT_MAP_NAME)
        uti_error_at("Port connections cannot be mixed ordered and named\n");
    port_map = PORT_MAP_ORDER;
    port_map_order.emplace_back(net_name);
}

void insert_port_list_by_name(std::string_view pin_name, std::string_view net_name)
{
    if (port_map == PORT_MAP_ORDER)
        uti_error_at("Port connections cannot be mixed ordered and named\n");
    port_map = PORT_MAP_NAME;
    const auto place = port_map_name.lower_bound(pin_name);
    if (place != port_map_name.end() && !NAME_ORDER{}(pin_name, place->first))
        uti_error_at("Port '%s' specified more than once\n", std::string(pin_name).c_str());
    if (spare_port_nodes.empty()) {
        port_map_name.emplace_hint(place, pin_name, net_name);
        return;
    }
    // A node of an earlier statement, whose strings keep their buffers.
    auto node = std::move(spare_port_nodes.back());
    spare_port_nodes.pop_back();
    node.key() = pin_name;
    node.mapped() = net_name;
    port_map_name.insert(place, std::move(node));
}

NET* find_or_add_net(std::string_view name)
{
    return net_at(static_cast<std::uint32_t>(net_entry_of(name).position));
}

void anticipate_net(std::string_view name)
{
    index_prefetch(nets.index, index_key(name));
}

void anticipate_instance(std::string_view name)
{
    index_prefetch(_gate_map, index_key(name));
}

void insert_inputs(std::string_view name)
{
    const NAME_ENTRY entry = net_entry_of(name);
    net_at(static_cast<std::uint32_t>(entry.position))->is_primary_input = true;
    entry.slot->position |= name_mark;
}

void insert_outputs(std::string_view name)
{
    find_or_add_net(name)->is_primary_output = true;
}

void create_instance(std::string_view cell_ref, std::string_view inst_name)
{
    const auto found = lib.cells.find(cell_ref);
    if (found == lib.cells.end())
        uti_error_at("cell type '%s' not found in lib\n", std::string(cell_ref).c_str());
    const std::size_t next = gates.size();
    if (inst_name != "(empty)" &&
        index_find_or_add(_gate_map, inst_name, next, gate_name_at) != next)
        uti_error_at("gate name '%s' is already exists\n", std::string(inst_name).c_str());
    GATE* gate = make_gate();
    gates.push_back(gate);
    gate->name = inst_name;
    gate->cell = &found->second;
    if (port_map == PORT_MAP_NAME)
        connect_by_name(gate, cell_ref);
    else if (port_map == PORT_MAP_ORDER)
        connect_by_order(gate, cell_ref);
    else
        uti_error_at("Specify at least one port\n");
    rst_new_inst();
}
