// Design database: the library and design records, the process-wide
// containers that list them, the two fatal reporters, and the builders that
// the parser calls while it reads a file. Each connection is recorded once,
// in the records: a pin's net, a gate's cell, a net's port flags; a net's
// driver and sinks are views of the pins, set when the design is finalised.
// A record's position (in gates and nets.by_position) is its id less one.
#pragma once
#include "inline_list.h"
#include "lib_nodes.h"
#include "net_sinks.h"

#include <cstddef>
#include <map>
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

struct CELL {
    std::size_t input_num = 0;               // 1 for "buf" and "not", else 2
    // By key exactly as the file spells it.
    std::map<std::string, LIB_ATTR, std::less<>, LIB_NODES<std::pair<const std::string, LIB_ATTR>>>
        attrs;
};

struct LIB {
    int cell_num = -1;
    int attr_num = -1;
    std::vector<std::string> attributes;  // file order, repeats kept
    // By cell name; addresses stay stable.
    std::map<std::string, CELL, std::less<>, LIB_NODES<std::pair<const std::string, CELL>>> cells;
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

extern int _gate_id;
extern int _net_id;

// Gates and nets are made by the records unit (records.h), which keeps them
// until the process ends; the containers below list them.
struct GATE {
    int id = _gate_id++;  // position in gates + 1: gates are made only in order
    std::string name;  // instance name, "(empty)" when the statement has none
    CELL* cell = nullptr;
    // Connected input pins in pin-name order: "A" before "B".
    INLINE_LIST<PIN, 2> in_pins;
    PIN out_pin;
    double delay = 0.0;
};

struct NET {
    int id = _net_id++;  // position in nets.by_position + 1: nets are made only in order
    int fanout = 0;
    double load_cap = 0.0;
    double wire_cap = 0.0;
    double prob = 0.0;
    double switching = 0.0;
    std::string name;
    NET_SINKS sinks;  // input pins it feeds, in connection order
    bool is_primary_input = false;   // declared by `input`
    bool is_primary_output = false;  // declared by `output`
    PIN* driver = nullptr;  // set when finalised; null for a net that no gate drives
};

// Every net, in creation order, found by name through the index.
struct NET_MAP {
    std::vector<NET*> by_position;
    NAME_INDEX& index;  // name to position
    std::size_t size() const { return by_position.size(); }
    // Null when there is no net of that name.
    NET* find(std::string_view name) const;
    // Throws std::out_of_range when there is no net of that name.
    NET* at(std::string_view name) const;
};

// The cell library; one per process.
extern LIB lib;
// The cell object being read, committed at its closing brace.
extern CELL tmp_cell;
// Every gate in creation order (the order of the netlist's statements).
extern std::vector<GATE*> gates;
// Every net; walks in name order go through net_order() (net_order.h).
extern NET_MAP nets;
extern std::string design_name;
extern std::map<std::string, int> cell_used;
extern std::map<std::string, int> cell_type_used;
extern int gate_count;
extern int over_max_capacitance_cnt;
// File keys of the seven numeric attributes; set once by encode_lib.
extern std::string attr_a, attr_b, attr_pd, attr_leak, attr_cap, attr_area, attr_maxc;
// Input line of the token being read; defined with the scanner.
extern int line_no;

// Fatal: prints "Error: " and the message on stderr and exits with status 1.
[[noreturn, gnu::format(printf, 1, 2)]] void uti_error(const char* format, ...);
// Fatal: prints "Line: <line_no> error: " and the message on stderr, exits 1.
[[noreturn, gnu::format(printf, 1, 2)]] void uti_error_at(const char* format, ...);

// Library builder.
void lib_rst();
void lib_set_cell_num(int count);
void lib_set_attr_num(int count);
void lib_add_attr(std::string_view name);
void lib_tmp_cell_insert_attr_i(std::string_view key, int value);
void lib_tmp_cell_insert_attr_f(std::string_view key, double value);
void lib_tmp_cell_insert_attr_s(std::string_view key, std::string_view value);
void lib_create_cell_from_tmp_cell();

// Netlist builder. An instance statement without a name reaches
// create_instance with the name "(empty)", which the grammar supplies.
void rst_new_inst();
void insert_port_list_by_order(std::string_view net_name);
void insert_port_list_by_name(std::string_view pin_name, std::string_view net_name);
NET* find_or_add_net(std::string_view name);
// Reports the first instance whose name an earlier one has, at its own
// line. create_instance leaves that check until the netlist is read:
// finalize_design calls this first, and so does every message of the read,
// since the repeat came before it.
void check_instance_names();
void insert_inputs(std::string_view name);
void insert_outputs(std::string_view name);
void create_instance(std::string_view cell_ref, std::string_view inst_name);
