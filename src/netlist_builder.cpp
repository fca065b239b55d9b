// Netlist builder: the port list of the instance statement being read, the
// primary inputs and outputs, and the gates with their pins and nets.
#include "design.h"

#include "name_index.h"
#include "read_ahead.h"
#include "records.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
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
// Named instances not yet checked for a name used before, each with the
// line of its statement. The check waits until the netlist is read or a
// message is due, and then sorts them: a look-up per statement would miss
// the cache at nearly every name of a netlist out of order.
struct NAMED_GATE {
    std::uint32_t key;  // the name's look-up key (index_key), equal for equal names
    std::uint32_t gate;
    int line;
};
std::vector<NAMED_GATE> named_gates;
std::size_t named_gates_checked = 0;

std::string_view net_name_at(std::size_t position)
{
    return nets.by_position[position]->name;
}

// Sorts items by their high word, ties by their low word: a stable radix
// sort of the high word keeps the low words' ascending order. A million
// names sort in a few passes over memory, whatever order they came in.
void sort_by_key(std::vector<std::uint64_t>& items)
{
    if (items.size() < 256) {
        std::sort(items.begin(), items.end());
        return;
    }
    constexpr unsigned digit_bits = 11;
    constexpr std::size_t digits = std::size_t{1} << digit_bits;
    std::vector<std::uint64_t> sorted(items.size());
    for (unsigned shift = 32; shift < 64; shift += digit_bits) {
        std::vector<std::size_t> next(digits, 0);
        for (const std::uint64_t item : items)
            next[(item >> shift) & (digits - 1)] += 1;
        std::size_t at = 0;
        for (std::size_t& place : next)
            at += std::exchange(place, at);
        for (const std::uint64_t item : items)
            sorted[next[(item >> shift) & (digits - 1)]++] = item;
        items.swap(sorted);
    }
}

std::string_view gate_name_of(const NAMED_GATE& named)
{
    return gates[named.gate]->name;
}

// The first gate in `run` (named gates in creation order) whose name an
// earlier gate of the run has, or null. Runs longer than one are rare (a
// repeat, or names that share a key), so they are simply sorted by name,
// keeping creation order among equal names.
const NAMED_GATE* first_repeat(std::vector<const NAMED_GATE*>& run)
{
    std::stable_sort(run.begin(), run.end(), [](const NAMED_GATE* a, const NAMED_GATE* b) {
        return gate_name_of(*a) < gate_name_of(*b);
    });
    const NAMED_GATE* repeat = nullptr;
    for (std::size_t j = 1; j < run.size(); ++j)
        if (gate_name_of(*run[j - 1]) == gate_name_of(*run[j]) &&
            (!repeat || run[j]->gate < repeat->gate))
            repeat = run[j];
    return repeat;
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
    check_instance_names();
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
            if (pin_name == "B" && gate->cell->input_num == 1) {
                check_instance_names();
                uti_error_at("'%s' gate doesn't have pin 'B'\n", std::string(cell_ref).c_str());
            }
            connect_input(gate, net, pin_name == "A" ? "A" : "B");
        } else if (pin_name == "Y") {
            connect_output(gate, net_name, "Net '%s' is already driven by gate '%s'\n");
        } else {
            check_instance_names();
            uti_error_at("Pin name '%s' not found\n", pin_name.c_str());
        }
    }
}

void connect_by_order(GATE* gate, std::string_view cell_ref)
{
    const std::size_t inputs_of_cell = gate->cell->input_num;
    if (port_map_order.size() != inputs_of_cell + 1) {
        check_instance_names();
        uti_error_at("cell type '%s' needs %d ports\n", std::string(cell_ref).c_str(),
                     static_cast<int>(inputs_of_cell + 1));
    }
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
    if (port_map == PORT_MAP_NAME) {
        check_instance_names();
        uti_error_at("Port connections cannot be mixed ordered and named\n");
    }
    port_map = PORT_MAP_ORDER;
    port_map_order.emplace_back(net_name);
}

void insert_port_list_by_name(std::string_view pin_name, std::string_view net_name)
{
    if (port_map == PORT_MAP_ORDER) {
        check_instance_names();
        uti_error_at("Port connections cannot be mixed ordered and named\n");
    }
    port_map = PORT_MAP_NAME;
    const auto place = port_map_name.lower_bound(pin_name);
    if (place != port_map_name.end() && !NAME_ORDER{}(pin_name, place->first)) {
        check_instance_names();
        uti_error_at("Port '%s' specified more than once\n", std::string(pin_name).c_str());
    }
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

void check_instance_names()
{
    if (named_gates_checked == named_gates.size())
        return;
    named_gates_checked = named_gates.size();
    // Equal names have equal keys: sorted by key, every repeat sits in a run
    // of one key.
    std::vector<std::uint64_t> by_key(named_gates.size());
    for (std::size_t i = 0; i < named_gates.size(); ++i)
        by_key[i] = std::uint64_t{named_gates[i].key} << 32 | i;
    sort_by_key(by_key);
    const NAMED_GATE* repeat = nullptr;
    std::vector<const NAMED_GATE*> run;
    for (std::size_t at = 0; at < by_key.size();) {
        std::size_t end = at + 1;
        while (end < by_key.size() && by_key[end] >> 32 == by_key[at] >> 32)
            ++end;
        if (end - at > 1) {
            run.clear();
            for (std::size_t i = at; i < end; ++i)
                run.push_back(&named_gates[static_cast<std::uint32_t>(by_key[i])]);
            const NAMED_GATE* found = first_repeat(run);
            if (found && (!repeat || found->gate < repeat->gate))
                repeat = found;
        }
        at = end;
    }
    if (repeat) {
        line_no = repeat->line;
        uti_error_at("gate name '%s' is already exists\n", gates[repeat->gate]->name.c_str());
    }
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
    if (found == lib.cells.end()) {
        check_instance_names();
        uti_error_at("cell type '%s' not found in lib\n", std::string(cell_ref).c_str());
    }
    GATE* gate = make_gate();
    gates.push_back(gate);
    gate->name = inst_name;
    if (inst_name != "(empty)")
        named_gates.push_back({index_key(inst_name).tag, position_of(*gate), line_no});
    gate->cell = &found->second;
    if (port_map == PORT_MAP_NAME)
        connect_by_name(gate, cell_ref);
    else if (port_map == PORT_MAP_ORDER)
        connect_by_order(gate, cell_ref);
    else {
        check_instance_names();
        uti_error_at("Specify at least one port\n");
    }
    rst_new_inst();
}
