// Design database: the library and design records, the process-wide
// containers that own them, the builders the parser calls while it reads a
// file, finalisation, the loop check, the listings and the fatal reporters.
// Each connection is recorded once, in the records: a pin's net, a net's
// driver, a gate's cell, a net's port flags. Positions (in gates and
// nets.owned) are ids less one, and a net's sinks are a view that
// finalisation makes from the pins.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

constexpr int PIN_UNSET = 0;
constexpr int PIN_IN = 1;
constexpr int PIN_OUT = 2;

constexpr int PORT_MAP_NONE = 0;
constexpr int PORT_MAP_NAME = 1;
constexpr int PORT_MAP_ORDER = 2;

// One attribute value; a setter fills exactly one member, the others stay zero.
struct LIB_ATTR {
    int ival = 0;
    double fval = 0.0;
    std::string sval;
};

// Logic function of a cell type, for the probability pass.
enum class LOGIC { BUF, NOT, AND, OR, NAND, NOR, XOR, XNOR, OTHER };

// The attribute values the passes read, taken from attrs once per cell by
// finalize_design, when the library is complete, instead of once per gate.
// The lookups insert missing keys into attrs as per-gate lookups would.
struct CELL_FIGURES {
    double a = 0.0;     // delay slope
    double b = 0.0;     // intrinsic delay
    double leak = 0.0;  // leakage power, also the switching weight
    double cap = 0.0;   // input-pin capacitance
    double area = 0.0;
    double maxc = 0.0;  // maximum output load
    int pd = 0;         // power domain
    LOGIC logic = LOGIC::OTHER;
};

struct CELL {
    std::size_t input_num = 0;               // 1 for "buf" and "not", else 2
    std::map<std::string, LIB_ATTR> attrs;  // by key exactly as the file spells it
    CELL_FIGURES figures;
};

struct LIB {
    int cell_num = -1;
    int attr_num = -1;
    std::vector<std::string> attributes;  // file order, repeats kept
    std::map<std::string, CELL, std::less<>> cells;  // by cell name; addresses stay stable
    void reset();
};

struct GATE;
struct NET;
struct NAME_INDEX;

struct PIN {
    int dir = PIN_UNSET;
    const char* name = nullptr;  // "A", "B" or "Y": always one of those literals
    GATE* gate = nullptr;
    NET* net = nullptr;
};

// A gate's connected input pins, held inside the gate in pin-name order
// ("A" before "B"): pins are only ever added in that order, and a cell has
// at most two inputs.
struct IN_PINS {
    PIN pins[2];
    std::size_t count = 0;
    std::size_t size() const { return count; }
    PIN* operator[](std::size_t i) { return &pins[i]; }
    const PIN* operator[](std::size_t i) const { return &pins[i]; }
    PIN* begin() { return pins; }
    PIN* end() { return pins + count; }
    const PIN* begin() const { return pins; }
    const PIN* end() const { return pins + count; }
};

// The input pins a net feeds, in connection order: a view of the net's run
// of the design's sink list (graph.h), which finalize_design makes from the
// input pins' nets. Empty until then.
struct NET_SINKS {
    std::uint32_t first = 0;  // where the net's run starts
    std::uint32_t count = 0;
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    PIN* operator[](std::size_t i) const;
    struct ITERATOR {
        std::uint32_t at;
        PIN* operator*() const;
        ITERATOR& operator++() { ++at; return *this; }
        bool operator!=(const ITERATOR& other) const { return at != other.at; }
    };
    ITERATOR begin() const { return ITERATOR{first}; }
    ITERATOR end() const { return ITERATOR{first + count}; }
};

extern int _gate_id;
extern int _net_id;

struct GATE {
    int id = _gate_id++;  // position in gates + 1: gates are made only in order
    std::string name;  // instance name, "(empty)" when the statement has none
    CELL* cell = nullptr;
    IN_PINS in_pins;
    PIN out_pin;
    double delay = 0.0;
    // Gates live in blocks (design.cpp) and are never freed.
    static void operator delete(void*) noexcept {}
};

struct NET {
    int id = _net_id++;  // position in nets.owned + 1: nets are made only in order
    int fanout = 0;
    double load_cap = 0.0;
    double wire_cap = 0.0;
    double prob = 0.0;
    double switching = 0.0;
    std::string name;
    NET_SINKS sinks;  // input pins it feeds, in connection order
    // Declared by `input` or `output`; the sets inputs and outputs are views of these.
    bool is_primary_input = false;
    bool is_primary_output = false;
    PIN* driver = nullptr;  // null for a net that no gate drives
    // Nets live in blocks (design.cpp) and are never freed.
    static void operator delete(void*) noexcept {}
};

inline std::uint32_t position_of(const GATE& gate)
{
    return static_cast<std::uint32_t>(gate.id - 1);
}
inline std::uint32_t position_of(const NET& net)
{
    return static_cast<std::uint32_t>(net.id - 1);
}

// The same position from where the net sits, without reading it: for walks
// over millions of pins whose nets are far out of cache.
std::uint32_t net_position(const NET* net);

// Membership of the primary inputs or outputs, by name: a view of the nets'
// flags (`flag` is NET::is_primary_input or NET::is_primary_output).
struct PORT_SET {
    bool NET::*flag;
    std::size_t count(std::string_view name) const;
};

// Every net, owned in creation order, found by name through the index.
struct NET_MAP {
    std::vector<std::unique_ptr<NET>> owned;
    NAME_INDEX& index;  // name to position in owned
    std::size_t size() const { return owned.size(); }
    // Null when there is no net of that name.
    NET* find(std::string_view name) const;
    // Throws std::out_of_range when there is no net of that name.
    const std::unique_ptr<NET>& at(std::string_view name) const;
};

// The cell library; one per process.
extern LIB lib;
// The cell object being read, committed at its closing brace.
extern CELL tmp_cell;
// The large containers below are never destroyed: nothing is freed before
// exit, and tearing down millions of records at exit only costs time.
// Every gate, owned, in creation order (the order of the netlist's statements).
extern std::vector<std::unique_ptr<GATE>>& gates;
// Every net; walks in name order go through net_order().
extern NET_MAP& nets;
extern std::string design_name;
extern const PORT_SET inputs;
extern const PORT_SET outputs;
extern std::map<std::string, int> cell_used;
extern std::map<std::string, int> cell_type_used;
extern int gate_count;
extern int over_max_capacitance_cnt;
// File keys of the seven numeric attributes; set once by encode_lib.
extern std::string attr_a, attr_b, attr_pd, attr_leak, attr_cap, attr_area, attr_maxc;
// Input line of the token being read; defined with the scanner.
extern int line_no;

// Every net in ascending byte-wise name order, the order of the per-net
// walks and sums whose outcome depends on it.
std::vector<NET*> net_order();
// Puts net positions (into nets.owned) in ascending byte-wise name order.
void sort_by_net_name(std::vector<std::uint32_t>& positions);

// Fatal: prints "Error: " and the message on stderr and exits with status 1.
[[noreturn, gnu::format(printf, 1, 2)]] void uti_error(const char* format, ...);
// Fatal: prints "Line: <line_no> error: " and the message on stderr, exits 1.
[[noreturn, gnu::format(printf, 1, 2)]] void uti_error_at(const char* format, ...);

// Library builder.
void lib_rst();
void lib_set_cell_num(int count);
void lib_set_attr_num(int count);
void lib_add_attr(const std::string& name);
void lib_tmp_cell_insert_attr_i(const std::string& key, int value);
void lib_tmp_cell_insert_attr_f(const std::string& key, double value);
void lib_tmp_cell_insert_attr_s(const std::string& key, const std::string& value);
void lib_create_cell_from_tmp_cell();

// Netlist builder.
void rst_new_inst();
void insert_port_list_by_order(std::string_view net_name);
void insert_port_list_by_name(std::string_view pin_name, std::string_view net_name);
NET* find_or_add_net(std::string_view name);
// The reader has just scanned a name that a builder may soon look up as a net
// or an instance: the index slots for it are fetched ahead of that look-up.
void anticipate_name(std::string_view name);
void insert_inputs(std::string_view name);
void insert_outputs(std::string_view name);
void create_instance(std::string_view cell_ref, std::string_view inst_name);

// Finalisation: the cells' figures, fanout, wire loads, gate delays, usage
// and violation counts.
double slp_for_fout_size(int fanout);
void finalize_design();

// Combinational-loop check: takes the design's graph and an order of its
// gates (graph.h); reports "Netlist contains self-loop" and exits when no
// such order exists.
void cyclic_check();

// Listings on standard output.
void dump_design();
void dump_lib();
