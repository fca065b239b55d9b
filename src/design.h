// Design database: the library and design records, the process-wide
// containers that own them, the builders the parser calls while it reads a
// file, finalisation, the loop check, the listings and the fatal reporters.
#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
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
    std::map<std::string, LIB_ATTR> attrs;  // by key exactly as the file spells it
};

struct LIB {
    int cell_num = -1;
    int attr_num = -1;
    std::vector<std::string> attributes;  // file order, repeats kept
    std::map<std::string, CELL> cells;    // by cell name; addresses stay stable
    void reset();
};

struct GATE;
struct NET;

struct PIN {
    int dir = PIN_UNSET;
    std::string name;  // "A", "B" or "Y"
    GATE* gate = nullptr;
    NET* net = nullptr;
};

extern int _gate_id;
extern int _net_id;

struct GATE {
    int id = _gate_id++;
    std::string name;  // instance name, "(empty)" when the statement has none
    CELL* cell = nullptr;
    // Connected input pins, owned, in pin-name order ("A" before "B"). Pins are
    // only ever added in that order, so a vector keeps it without a map.
    std::vector<std::unique_ptr<PIN>> in_pins;
    PIN out_pin;
    double delay = 0.0;
};

struct NET {
    int id = _net_id++;
    int fanout = 0;
    double load_cap = 0.0;
    double wire_cap = 0.0;
    double prob = 0.0;
    double switching = 0.0;
    std::string name;
    std::vector<PIN*> sinks;  // input pins it feeds, in connection order
    PIN* driver = nullptr;    // null for a net that no gate drives
    // Memoised per-net results of the analysis passes, kept beside the net
    // instead of in maps keyed by its address; has_* says the value is set.
    double arrival_time = 0.0;
    double required_time = 0.0;
    bool has_arrival_time = false;
    bool has_required_time = false;
    bool has_prob = false;
};

// The cell library; one per process.
extern LIB lib;
// The cell object being read, committed at its closing brace.
extern CELL tmp_cell;
// Every gate, owned, in creation order (the order of the netlist's statements).
extern std::vector<std::unique_ptr<GATE>> gates;
// Every net, owned, hashed by its name (the key views the net's own name).
// Walks in name order go through net_order().
extern std::unordered_map<std::string_view, std::unique_ptr<NET>> nets;
extern std::string design_name;
extern std::unordered_set<std::string> inputs;
extern std::unordered_set<std::string> outputs;
extern std::map<std::string, int> cell_used;
extern std::map<std::string, int> cell_type_used;
extern int gate_count;
extern int over_max_capacitance_cnt;
// File keys of the seven numeric attributes; set once by encode_lib.
extern std::string attr_a, attr_b, attr_pd, attr_leak, attr_cap, attr_area, attr_maxc;
// Connection list of the instance statement being read.
extern int port_map;
extern std::map<std::string, std::string> port_map_name;
extern std::vector<std::string> port_map_order;
// Named instances, for the duplicate-name check only.
extern std::unordered_map<std::string_view, GATE*> _gate_map;
// Input line of the token being read; defined with the scanner.
extern int line_no;

// Every net in ascending byte-wise name order: the order of every per-net walk.
// Built on first use after nets were added, then reused.
const std::vector<NET*>& net_order();

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
void insert_port_list_by_order(const std::string& net_name);
void insert_port_list_by_name(const std::string& pin_name, const std::string& net_name);
NET* find_or_add_net(const std::string& name);
void insert_inputs(const std::string& name);
void insert_outputs(const std::string& name);
void create_instance(const std::string& cell_ref, const std::string& inst_name);

// Finalisation: fanout, wire loads, gate delays, usage and violation counts.
double slp_for_fout_size(int fanout);
void finalize_design();

// Combinational-loop check; reports "Netlist contains self-loop" and exits.
void cyclic_check();
bool is_cyclic_rec(GATE* start, std::unordered_set<GATE*>& visited,
                   std::unordered_set<GATE*>& on_stack);

// Listings on standard output.
void dump_design();
void dump_lib();
