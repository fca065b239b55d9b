// Design database: containers, fatal reporters, library and netlist builders.
#include "design.h"

#include "graph.h"
#include "name_index.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <new>
#include <stdexcept>

int _gate_id = 1;
int _net_id = 1;

LIB lib;
CELL tmp_cell;
std::vector<std::unique_ptr<GATE>>& gates = *new std::vector<std::unique_ptr<GATE>>();
NET_MAP& nets = *new NET_MAP{{}, *new NAME_INDEX()};
std::string design_name;
const PORT_SET inputs{&NET::is_primary_input};
const PORT_SET outputs{&NET::is_primary_output};
std::map<std::string, int> cell_used;
std::map<std::string, int> cell_type_used;
int gate_count = 0;
int over_max_capacitance_cnt = 0;
std::string attr_a, attr_b, attr_pd, attr_leak, attr_cap, attr_area, attr_maxc;

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
NAME_INDEX& _gate_map = *new NAME_INDEX();

std::string_view net_name_at(std::size_t position)
{
    return nets.owned[position]->name;
}

std::string_view gate_name_at(std::size_t position)
{
    return gates[position]->name;
}

[[noreturn]] void report_and_exit(const char* format, va_list args)
{
    std::vfprintf(stderr, format, args);
    std::exit(1);
}

const std::string& text_attr(CELL& cell, const char* key)
{
    return cell.attrs[key].sval;
}

// Records sit in blocks by position, each block twice the size of the one
// before: a net's address follows from its position, so hooking a pin onto
// a net found by name need not read the net's record (likely far out of
// cache), a small design touches few pages, and records made one after the
// other sit side by side.
template <typename RECORD>
struct RECORD_BLOCKS {
    static constexpr unsigned first_shift = 8;  // 256 records in the first block
    std::vector<RECORD*> blocks;
    // The blocks by address, for the position of a record from its address.
    std::vector<std::pair<std::uintptr_t, unsigned>> by_address;

    static unsigned block_of(std::size_t position)
    {
        return static_cast<unsigned>(std::bit_width((position >> first_shift) + 1) - 1);
    }
    static std::size_t start_of(unsigned block)
    {
        return ((std::size_t{1} << block) - 1) << first_shift;
    }
    RECORD* at(std::size_t position) const
    {
        const unsigned block = block_of(position);
        return blocks[block] + (position - start_of(block));
    }
    // Constructs the record at `position`, the next one.
    RECORD* make(std::size_t position)
    {
        const unsigned block = block_of(position);
        if (block == blocks.size()) {
            blocks.push_back(static_cast<RECORD*>(
                ::operator new(sizeof(RECORD) << (first_shift + block))));
            const std::pair<std::uintptr_t, unsigned> entry{
                reinterpret_cast<std::uintptr_t>(blocks.back()), block};
            by_address.insert(std::upper_bound(by_address.begin(), by_address.end(), entry),
                              entry);
        }
        return ::new (at(position)) RECORD();
    }
    // The position of a record made here, found without reading it.
    std::size_t position_of(const RECORD* record) const
    {
        const auto address = reinterpret_cast<std::uintptr_t>(record);
        const auto after = std::upper_bound(
            by_address.begin(), by_address.end(), address,
            [](std::uintptr_t a, const std::pair<std::uintptr_t, unsigned>& entry) {
                return a < entry.first;
            });
        const auto& [start, block] = *(after - 1);
        return start_of(block) + (address - start) / sizeof(RECORD);
    }
};

RECORD_BLOCKS<NET> net_blocks;
RECORD_BLOCKS<GATE> gate_blocks;

// The position of the net named `name`, which is added when there is none.
std::uint32_t net_position_of(std::string_view name)
{
    const std::size_t next = nets.owned.size();
    const std::size_t position = index_find_or_add(nets.index, name, next, net_name_at);
    if (position == next) {
        NET* added = net_blocks.make(next);
        nets.owned.push_back(std::unique_ptr<NET>(added));
        added->name = name;
    }
    return static_cast<std::uint32_t>(position);
}

// Hooks an input pin named `pin_name` of `gate` onto `net`. The net's sinks
// and load follow from its pins when the design is finalised.
void connect_input(GATE* gate, NET* net, const char* pin_name)
{
    PIN* pin = &gate->in_pins.pins[gate->in_pins.count++];
    pin->dir = PIN_IN;
    pin->name = pin_name;
    pin->gate = gate;
    pin->net = net;
}

// Makes the gate's output pin the driver of `net`; `driven_format` is the
// message for a net that another gate already drives.
void connect_output(GATE* gate, NET* net, const char* driven_format)
{
    PIN* pin = &gate->out_pin;
    pin->dir = PIN_OUT;
    if (net->driver)
        uti_error_at(driven_format, net->name.c_str(), net->driver->gate->name.c_str());
    if (net->is_primary_input)
        uti_error_at("Net '%s' is driven by primary-input\n", net->name.c_str());
    net->driver = pin;
    pin->name = "Y";
    pin->gate = gate;
    pin->net = net;
}

// Cells found by name, remembered per hash bucket: a netlist names a few
// cells over and over, and a map search compares whole names. Cells stay
// where they are until the library is reset, which forgets them all.
struct CELL_CACHE_ENTRY {
    std::string name;
    CELL* cell = nullptr;
};
CELL_CACHE_ENTRY cell_cache[64];  // by the top six bits of a mix of the name

CELL* find_cell(std::string_view name)
{
    using name_index_detail::word_at;
    const std::uint64_t last = name.size() > 8 ? word_at(name.data() + name.size() - 8, 8) : 0;
    const std::uint64_t mixed =
        (word_at(name.data(), name.size()) ^ (last * 0xbf58476d1ce4e5b9ull) ^ name.size()) *
        0x9e3779b97f4a7c15ull;
    CELL_CACHE_ENTRY& entry = cell_cache[mixed >> 58];
    if (entry.cell && entry.name == name)
        return entry.cell;
    const auto found = lib.cells.find(name);
    if (found == lib.cells.end())
        return nullptr;
    entry = {std::string(name), &found->second};
    return entry.cell;
}

NET* net_named(std::string_view name)
{
    return net_blocks.at(net_position_of(name));
}

void connect_by_name(GATE* gate, std::string_view cell_ref)
{
    for (const auto& [pin_name, net_name] : port_map_name) {
        NET* net = net_named(net_name);
        if (pin_name == "A" || pin_name == "B") {
            if (pin_name == "B" && gate->cell->input_num == 1)
                uti_error_at("'%s' gate doesn't have pin 'B'\n", std::string(cell_ref).c_str());
            connect_input(gate, net, pin_name == "A" ? "A" : "B");
        } else if (pin_name == "Y") {
            connect_output(gate, net, "Net '%s' is already driven by gate '%s'\n");
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
        connect_input(gate, net_named(port_map_order[i]), i == 0 ? "A" : "B");
    connect_output(gate, net_named(port_map_order[inputs_of_cell]),
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

std::uint32_t net_position(const NET* net)
{
    return static_cast<std::uint32_t>(net_blocks.position_of(net));
}

PIN* NET_SINKS::ITERATOR::operator*() const
{
    const std::uint32_t sink = design_graph.net_sink[at];
    return &gate_blocks.at(sink_gate(sink))->in_pins.pins[sink_slot(sink)];
}

PIN* NET_SINKS::operator[](std::size_t i) const
{
    return *ITERATOR{first + static_cast<std::uint32_t>(i)};
}

std::size_t PORT_SET::count(std::string_view name) const
{
    const NET* net = nets.find(name);
    return net && net->*flag ? 1 : 0;
}

NET* NET_MAP::find(std::string_view name) const
{
    std::size_t position = 0;
    return index_find(index, name, net_name_at, position) ? owned[position].get() : nullptr;
}

const std::unique_ptr<NET>& NET_MAP::at(std::string_view name) const
{
    std::size_t position = 0;
    if (!index_find(index, name, net_name_at, position))
        throw std::out_of_range("no net named " + std::string(name));
    return owned[position];
}

namespace {

// A net's position with the first eight bytes of its name packed
// big-endian: comparing prefixes orders names byte-wise as far as those
// bytes go.
struct KEYED_NET {
    std::uint64_t prefix;
    std::uint32_t position;
};

// Least-significant-byte-first radix sort by prefix; a byte that all
// prefixes share costs one counting pass and no moves.
void sort_by_prefix(std::vector<KEYED_NET>& keyed)
{
    std::vector<KEYED_NET> sorted(keyed.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t start[257] = {};
        for (const KEYED_NET& entry : keyed)
            start[((entry.prefix >> shift) & 0xff) + 1] += 1;
        if (std::find(std::begin(start), std::end(start), keyed.size()) != std::end(start))
            continue;
        for (std::size_t b = 0; b < 256; ++b)
            start[b + 1] += start[b];
        for (const KEYED_NET& entry : keyed)
            sorted[start[(entry.prefix >> shift) & 0xff]++] = entry;
        keyed.swap(sorted);
    }
}

} // namespace

void sort_by_net_name(std::vector<std::uint32_t>& positions)
{
    std::vector<KEYED_NET> keyed;
    keyed.reserve(positions.size());
    for (const std::uint32_t position : positions) {
        std::uint64_t prefix = 0;
        const std::string& name = nets.owned[position]->name;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = (prefix << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
        keyed.push_back({prefix, position});
    }
    sort_by_prefix(keyed);
    // Names that share their first eight bytes are ordered by the rest.
    for (auto run = keyed.begin(); run != keyed.end();) {
        const auto run_end = std::find_if(run, keyed.end(), [&run](const KEYED_NET& entry) {
            return entry.prefix != run->prefix;
        });
        if (run_end - run > 1)
            std::sort(run, run_end, [](const KEYED_NET& a, const KEYED_NET& b) {
                return nets.owned[a.position]->name < nets.owned[b.position]->name;
            });
        run = run_end;
    }
    for (std::size_t i = 0; i < keyed.size(); ++i)
        positions[i] = keyed[i].position;
}

std::vector<NET*> net_order()
{
    std::vector<std::uint32_t> positions(nets.size());
    for (std::uint32_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    sort_by_net_name(positions);
    std::vector<NET*> sorted;
    sorted.reserve(positions.size());
    for (const std::uint32_t position : positions)
        sorted.push_back(nets.owned[position].get());
    return sorted;
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
    for (CELL_CACHE_ENTRY& entry : cell_cache)
        entry.cell = nullptr;
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
    return net_named(name);
}

// Where statements do not come in signal order, or names do not end in
// their number, nearly every look-up misses the cache; fetching ahead hides
// much of that.
void anticipate_name(std::string_view name)
{
    const NAME_SLOT key = index_key(name);
    index_prefetch(nets.index, key);
    index_prefetch(_gate_map, key);
}

void insert_inputs(std::string_view name)
{
    find_or_add_net(name)->is_primary_input = true;
}

void insert_outputs(std::string_view name)
{
    find_or_add_net(name)->is_primary_output = true;
}

void create_instance(std::string_view cell_ref, std::string_view inst_name)
{
    CELL* cell = find_cell(cell_ref);
    if (!cell)
        uti_error_at("cell type '%s' not found in lib\n", std::string(cell_ref).c_str());
    const std::size_t next = gates.size();
    if (inst_name != "(empty)" &&
        index_find_or_add(_gate_map, inst_name, next, gate_name_at) != next)
        uti_error_at("gate name '%s' is already exists\n", std::string(inst_name).c_str());
    GATE* gate = gate_blocks.make(next);
    gates.push_back(std::unique_ptr<GATE>(gate));
    gate->name = inst_name;
    gate->cell = cell;
    if (port_map == PORT_MAP_NAME)
        connect_by_name(gate, cell_ref);
    else if (port_map == PORT_MAP_ORDER)
        connect_by_order(gate, cell_ref);
    else
        uti_error_at("Specify at least one port\n");
    rst_new_inst();
}
