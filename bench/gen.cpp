// Writes benchmark inputs for the evaluator, a cell library (lib.json) and a
// netlist (net.v), into an existing directory:
//   bench_gen dag N SEED OUT_DIR [OPTION...]
//                                  random layered DAG of N one- and two-input gates
//   bench_gen chain N OUT_DIR [STATEMENTS] [OPTION...]
//                                  chain of N buf/not gates, its module body
//                                  padded with stray semicolons up to STATEMENTS
// Options change how the same circuit is written, not the circuit:
//   --order=signal                 instance statements in signal order (default)
//   --order=reversed               the last gate first
//   --order=shuffled[:SEED]        a permutation drawn from SEED (default 1)
//   --names=numbered               nets n17 (c17 in the chain), gates g17 (default)
//   --names=tool                   nets _17_, gates _<N + 17>_, as synthesis tools
//                                  write them; ports keep their names
// Every net is named after the index of its driving gate and every fanin is
// computed from indices. In signal order the output is streamed, so memory
// stays the same for any N; another order keeps four bytes per gate.
#include "encode.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The reader's parse stack holds about 5,000,000 body statements; a DAG of
// N gates also has about N/36 wire lists.
constexpr std::uint64_t max_gates = 4000000;
constexpr std::uint64_t dag_inputs = 256;
constexpr std::uint64_t dag_outputs = 256;
// Every 64th net is a hub of a dozen sinks or so, every 4096th one of about
// sixty; the primary inputs get more the larger the design.
constexpr std::uint64_t hub_spacing = 64;
constexpr std::uint64_t big_hub_spacing = 4096;

struct CELL_KIND {
    const char* name;
    const char* type;
    int inputs;
    double slope, intrinsic, leakage, capacitance, area;
};

// Index order is used below: 0 and 1 one-input, 2 to 7 two-input.
constexpr CELL_KIND kinds[] = {
    {"INV", "not", 1, 0.60, 0.012, 0.010, 0.0016, 0.53},
    {"BUF", "buf", 1, 0.50, 0.025, 0.014, 0.0015, 0.80},
    {"NAND2", "nand", 2, 0.80, 0.018, 0.016, 0.0017, 0.80},
    {"NOR2", "nor", 2, 0.95, 0.022, 0.015, 0.0018, 0.80},
    {"AND2", "and", 2, 1.00, 0.030, 0.021, 0.0016, 1.06},
    {"OR2", "or", 2, 1.10, 0.034, 0.020, 0.0016, 1.06},
    {"XOR2", "xor", 2, 1.40, 0.045, 0.032, 0.0025, 1.60},
    {"XNOR2", "xnor", 2, 1.40, 0.047, 0.033, 0.0025, 1.60},
};
// The library has every kind in three drive strengths and three power
// domains, 72 cells in all, as a realistic library has; the netlists use
// the first two of each.
struct DRIVE {
    const char* suffix;
    double slope, intrinsic, leakage, capacitance, area, max_capacitance;
};
constexpr DRIVE drives[] = {
    {"_X1", 1.00, 1.00, 1.00, 1.00, 1.00, 0.06},
    {"_X2", 0.55, 1.10, 1.80, 1.60, 1.50, 0.12},
    {"_X4", 0.30, 1.25, 3.20, 2.60, 2.30, 0.24},
};
struct DOMAIN {
    const char* suffix;
    double slowdown, leakage;
};
constexpr DOMAIN domains[] = {{"", 1.0, 1.0}, {"_LV", 1.3, 0.4}, {"_HV", 0.85, 2.5}};
// Share (per mille) of each two-input kind among two-input gates.
constexpr int two_input_mix[] = {280, 160, 180, 140, 140, 100};

FILE* out = nullptr;
char buffer[1 << 16];
std::size_t used = 0;
std::uint64_t rng_state = 0;
std::uint64_t draws = 0;  // numbers drawn from rng_state so far
constexpr std::uint64_t golden_gamma = 0x9e3779b97f4a7c15ULL;

enum class ORDER { signal, reversed, shuffled };
ORDER order = ORDER::signal;
std::uint64_t shuffle_seed = 1;
bool tool_names = false;
// In tool names, gate k is numbered gate_number_base + k, past every net.
std::uint64_t gate_number_base = 0;

[[noreturn]] void fail(const char* message, const char* detail)
{
    std::fprintf(stderr, "bench_gen: %s%s\n", message, detail);
    std::exit(2);
}

void flush()
{
    if (used && std::fwrite(buffer, 1, used, out) != used)
        fail("write failed", "");
    used = 0;
}

void put(std::string_view text)
{
    if (used + text.size() > sizeof buffer)
        flush();
    if (text.size() > sizeof buffer)
        fail("text too long", "");
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
}

void put(std::uint64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void put_real(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.5f", value);
    put(text);
}

void open_output(const std::string& dir, const char* name)
{
    const std::string path = dir + "/" + name;
    out = std::fopen(path.c_str(), "w");
    if (!out)
        fail("cannot write ", path.c_str());
}

void close_output()
{
    flush();
    if (std::fclose(out) != 0)
        fail("write failed", "");
    out = nullptr;
}

std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// splitmix64: the same stream for the same seed on every platform. The d-th
// number depends on the seed and d alone, so a stream can be resumed at any
// position.
std::uint64_t next_random()
{
    ++draws;
    return mix(rng_state += golden_gamma);
}

std::uint64_t below(std::uint64_t bound)
{
    return next_random() % bound;
}

// The text "<period>_<area>_<power>" as a module name the evaluator decodes:
// a free first token, then the encoded text.
std::string module_name(double period, double area, double power)
{
    char text[128] = {};
    std::snprintf(text, sizeof text - 4, "%.3f_%.1f_%.3f", period, area, power);
    return "top_" + encode(text);
}

void write_library(const std::string& dir)
{
    open_output(dir, "lib.json");
    put("{\n  \"information\": {\n    \"cell_num\": \"");
    put(std::size(kinds) * std::size(drives) * std::size(domains));
    put("\",\n    \"attribute_num\": \"9\",\n    \"attributes\": [\"cell_name\", "
        "\"cell_type\", \"a_f\", \"b_f\", \"pd_i\",\n      \"cell_leakage_power_f\", "
        "\"capacitance_f\", \"area_f\", \"max_capacitance_f\"]\n  },\n  \"cells\": [");
    const char* separator = "\n";
    for (const CELL_KIND& kind : kinds)
        for (std::size_t domain = 0; domain < std::size(domains); ++domain)
            for (const DRIVE& drive : drives) {
                // Stronger cells switch faster under load but leak more and are
                // bigger; the second domain is a slower, low-leakage one, the
                // third a faster, leakier one.
                const DOMAIN& power = domains[domain];
                put(separator);
                put("    { \"cell_name\": \"");
                put(kind.name);
                put(drive.suffix);
                put(power.suffix);
                put("\", \"cell_type\": \"");
                put(kind.type);
                put("\",\n      \"data_1_f\": \"");
                put_real(kind.slope * power.slowdown * drive.slope);
                put("\", \"data_2_f\": \"");
                put_real(kind.intrinsic * power.slowdown * drive.intrinsic);
                put("\", \"data_3_i\": \"");
                put(static_cast<std::uint64_t>(domain + 1));
                put("\", \"data_4_f\": \"");
                put_real(kind.leakage * power.leakage * drive.leakage);
                put("\",\n      \"data_5_f\": \"");
                put_real(kind.capacitance * drive.capacitance);
                put("\", \"data_6_f\": \"");
                put_real(kind.area * drive.area);
                put("\", \"data_7_f\": \"");
                put_real(drive.max_capacitance);
                put("\" }");
                separator = ",\n";
            }
    put("\n  ]\n}\n");
    close_output();
}

// A port or declaration list: `first, ..., last` with a line break every 16.
template <typename NAME>
void put_list(std::uint64_t count, NAME name)
{
    for (std::uint64_t i = 0; i < count; ++i) {
        if (i)
            put(i % 16 ? ", " : ",\n    ");
        name(i);
    }
}

// `wire` lists of a few dozen names each for the nets [first, last); returns
// the number of lists.
template <typename NAME>
std::uint64_t put_wires(std::uint64_t first, std::uint64_t last, NAME name)
{
    std::uint64_t lists = 0;
    for (; first < last; ++lists) {
        const std::uint64_t end = std::min(last, first + 24 + below(25));
        put("  wire ");
        for (std::uint64_t i = first; i < end; ++i) {
            if (i != first)
                put(", ");
            name(i);
        }
        put(";\n");
        first = end;
    }
    return lists;
}

// A name made of a number: n17 in numbered names, _17_ in tool names.
void put_numbered(const char* prefix, std::uint64_t number)
{
    put(tool_names ? "_" : prefix);
    put(number);
    if (tool_names)
        put("_");
}

// One instance statement's content. Gate `id` drives net `id`; about half
// the gates use ordered connections, the others named ones (some with Y
// first); a few are left without a name.
struct GATE_SPEC {
    std::string cell;
    std::uint64_t id = 0;
    int inputs = 1;
    std::uint64_t a = 0, b = 0;
    bool named = true;
    std::uint64_t style = 0;
};

// Draws what the caller left to chance, in the stream's order of old.
GATE_SPEC finish_spec(std::string cell, std::uint64_t id, int inputs, std::uint64_t a,
                      std::uint64_t b)
{
    const bool named = below(25) != 0;
    return {std::move(cell), id, inputs, a, b, named, below(20)};
}

// How the file differs from the default one, for its first line.
void put_style_note()
{
    if (order == ORDER::reversed)
        put(", reversed");
    if (order == ORDER::shuffled) {
        put(", shuffled with seed ");
        put(shuffle_seed);
    }
    if (tool_names)
        put(", tool names");
}

template <typename NAME>
void put_gate(const GATE_SPEC& gate, NAME name)
{
    const auto& [cell, id, inputs, a, b, named, style] = gate;
    put("  ");
    put(cell);
    if (named) {
        put(" ");
        put_numbered("g", tool_names ? gate_number_base + id : id);
    }
    if (style < 11) {
        put(" (");
        name(a);
        if (inputs == 2) {
            put(", ");
            name(b);
        }
        put(", ");
        name(id);
        put(");\n");
        return;
    }
    put(" (");
    if (style < 14) {
        put(".Y(");
        name(id);
        put("), ");
    }
    put(".A(");
    name(a);
    if (inputs == 2) {
        put("), .B(");
        name(b);
    }
    if (style >= 14) {
        put("), .Y(");
        name(id);
    }
    put("));\n");
}

// A seeded bijection of [0, count): a four-round Feistel network on the
// smallest even number of bits that holds count, applied again while the
// result falls outside (under four rounds on average), so that no table of
// count entries is needed.
class SHUFFLE {
public:
    SHUFFLE(std::uint64_t count, std::uint64_t seed) : count_(count), seed_(seed)
    {
        while ((std::uint64_t{1} << 2 * half_bits_) < count)
            ++half_bits_;
    }

    std::uint64_t operator()(std::uint64_t x) const
    {
        do
            x = feistel(x);
        while (x >= count_);
        return x;
    }

private:
    std::uint64_t feistel(std::uint64_t x) const
    {
        const std::uint64_t mask = (std::uint64_t{1} << half_bits_) - 1;
        std::uint64_t left = x >> half_bits_;
        std::uint64_t right = x & mask;
        for (std::uint64_t round = 1; round <= 4; ++round) {
            const std::uint64_t next = left ^ (mix((seed_ + round * golden_gamma) ^ right) & mask);
            left = right;
            right = next;
        }
        return left << half_bits_ | right;
    }

    std::uint64_t count_;
    std::uint64_t seed_;
    unsigned half_bits_ = 0;
};

// Writes gates 0 to count - 1 (creation order, which is signal order) in the
// statement order asked for; spec_of(k) draws gate k from the stream where it
// stands. For another order, a first pass notes where each gate's numbers
// start in the stream, and the stream is set back there before the gate is
// drawn again, so a gate comes out the same wherever it is written.
template <typename SPEC_OF, typename NAME>
void put_gates(std::uint64_t count, SPEC_OF spec_of, NAME name)
{
    if (order == ORDER::signal) {
        for (std::uint64_t k = 0; k < count; ++k)
            put_gate(spec_of(k), name);
        return;
    }
    const std::uint64_t state = rng_state;
    const std::uint64_t first = draws;
    // A gate draws at most a dozen numbers, so 4,000,000 gates stay far
    // below 2^32 of them.
    std::vector<std::uint32_t> start(count);
    for (std::uint64_t k = 0; k < count; ++k) {
        start[k] = static_cast<std::uint32_t>(draws - first);
        spec_of(k);
    }
    const SHUFFLE shuffle(count, shuffle_seed);
    for (std::uint64_t p = 0; p < count; ++p) {
        const std::uint64_t k = order == ORDER::reversed ? count - 1 - p : shuffle(p);
        rng_state = state + start[k] * golden_gamma;
        put_gate(spec_of(k), name);
    }
}

std::uint64_t parse_count(const char* text, const char* what)
{
    std::uint64_t value = 0;
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    if (result.ec != std::errc() || result.ptr != end)
        fail("not a number: ", what);
    return value;
}

// Layer l of a DAG: gates [start, start + width).
struct LAYER {
    std::uint64_t start = 0;
    std::uint64_t width = 0;
};

// Gates are laid out in `layer_count` layers: the last one of `dag_outputs`
// gates drives the primary outputs, the others share the rest evenly.
LAYER layer_at(std::uint64_t n, std::uint64_t layer_count, std::uint64_t l)
{
    if (layer_count == 1)
        return {0, n};
    const std::uint64_t inner = n - dag_outputs;
    const std::uint64_t base = inner / (layer_count - 1);
    const std::uint64_t extra = inner % (layer_count - 1);
    if (l == layer_count - 1)
        return {inner, dag_outputs};
    return {l * base + std::min(l, extra), base + (l < extra ? 1 : 0)};
}

void write_dag(std::uint64_t n, std::uint64_t seed, const std::string& dir)
{
    rng_state = seed;
    gate_number_base = n;
    const std::uint64_t layer_count =
        n <= dag_outputs ? 1 : std::min<std::uint64_t>(100, std::max<std::uint64_t>(2, n / 1000));
    const std::uint64_t outputs = layer_count == 1 ? n : dag_outputs;
    const std::uint64_t first_output = n - outputs;
    // Net ids: gate g drives net g; primary input k is net n + k.
    const auto name = [&](std::uint64_t net) {
        if (net >= n) {
            put("pi");
            put(net - n);
        } else if (net >= first_output) {
            put("po");
            put(net - first_output);
        } else {
            put_numbered("n", net);
        }
    };
    open_output(dir, "net.v");
    put("// Random layered DAG: ");
    put(n);
    put(" gates, seed ");
    put(seed);
    put_style_note();
    put("\nmodule ");
    put(module_name(layer_count * 0.2, n * 1.2, n * 0.025));
    put(" (\n    ");
    put_list(dag_inputs + outputs, [&](std::uint64_t i) {
        name(i < dag_inputs ? n + i : first_output + i - dag_inputs);
    });
    put(");\n  input ");
    put_list(dag_inputs, [&](std::uint64_t i) { name(n + i); });
    put(";\n  output ");
    put_list(outputs, [&](std::uint64_t i) { name(first_output + i); });
    put(";\n");
    put_wires(0, first_output, name);

    // Input A of gate i of a layer takes the previous layer's net at a
    // permuted index, so that every net but the last layer's has a sink.
    // Input B takes a primary input, a hub, or any net of the three layers
    // before, the nearest most often; a hub that is not in that window gives
    // way to the net that was picked to find it.
    constexpr std::uint64_t stride = 7919;  // prime, so i*stride permutes mod width
    std::vector<std::uint64_t> layer_starts;
    for (std::uint64_t l = 0; l < layer_count; ++l)
        layer_starts.push_back(layer_at(n, layer_count, l).start);
    // Each layer's offset is drawn just before its first gate.
    std::vector<std::uint64_t> offsets(layer_count);
    const auto spec_of = [&](std::uint64_t id) {
        const std::uint64_t l = static_cast<std::uint64_t>(
            std::upper_bound(layer_starts.begin(), layer_starts.end(), id) -
            layer_starts.begin() - 1);
        const LAYER layer = layer_at(n, layer_count, l);
        const LAYER prev = l ? layer_at(n, layer_count, l - 1) : LAYER{n, dag_inputs};
        const std::uint64_t window_start = layer_at(n, layer_count, l < 3 ? 0 : l - 3).start;
        if (id == layer.start)
            offsets[l] = below(prev.width);
        const std::uint64_t offset = offsets[l];
        const bool coprime = prev.width % stride != 0;
        const std::uint64_t i = id - layer.start;
        const std::uint64_t a = prev.start + ((coprime ? i * stride : i) + offset) % prev.width;
        std::uint64_t b = a;
        const std::uint64_t pick = below(100);
        if (pick < 3 || l == 0) {
            b = n + below(dag_inputs);
        } else if (pick < 15) {
            const std::uint64_t spacing = pick < 5 ? big_hub_spacing : hub_spacing;
            const std::uint64_t at = window_start + below(layer.start - window_start);
            b = at - at % spacing >= window_start ? at - at % spacing : at;
        } else {
            const std::uint64_t back = pick < 66 ? 1 : pick < 87 ? 2 : 3;
            const LAYER from = layer_at(n, layer_count, l >= back ? l - back : 0);
            b = from.start + below(from.width);
        }
        if (b == a)
            b = a + 1 < layer.start ? a + 1 : n + below(dag_inputs);
        std::size_t kind = 0;
        if (below(100) < 20) {
            kind = below(10) < 7 ? 0 : 1;
        } else {
            std::uint64_t share = below(1000);
            kind = 2;
            while (share >= static_cast<std::uint64_t>(two_input_mix[kind - 2])) {
                share -= two_input_mix[kind - 2];
                ++kind;
            }
        }
        // Blocks of 4096 gates share a power domain; about one in sixteen
        // blocks is in the second one.
        const bool low_voltage = (((id >> 12) + seed) * 2654435761u >> 7) % 16 == 0;
        std::string cell = kinds[kind].name;
        cell += below(4) == 0 ? "_X2" : "_X1";
        if (low_voltage)
            cell += "_LV";
        return finish_spec(std::move(cell), id, kinds[kind].inputs, a, b);
    };
    put_gates(n, spec_of, name);
    put("endmodule\n");
    close_output();
}

void write_chain(std::uint64_t n, std::uint64_t statements, const std::string& dir)
{
    rng_state = 1;
    gate_number_base = n;
    // Net 0 is the primary input, net g + 1 the output of gate g.
    const auto name = [&](std::uint64_t net) {
        if (net == 0)
            put("in");
        else if (net == n)
            put("out");
        else
            put_numbered("c", net);
    };
    open_output(dir, "net.v");
    put("// Chain of ");
    put(n);
    put(" buf/not gates");
    put_style_note();
    put("\nmodule ");
    put(module_name(n * 0.022, n * 0.8, n * 0.016));
    put(" (in, out);\n  input in;\n  output out;\n");
    std::uint64_t written = 2 + put_wires(1, n, name) + n;
    const auto spec_of = [](std::uint64_t g) {
        const std::size_t kind = below(2);
        std::string cell = kinds[kind].name;
        cell += below(4) == 0 ? "_X2" : "_X1";
        return finish_spec(std::move(cell), g + 1, 1, g, g);
    };
    put_gates(n, spec_of, name);
    for (const std::uint64_t first = written; written < statements; ++written) {
        if (written == first || written % 100 == 0)
            put("  ");
        put(written % 100 == 99 || written + 1 == statements ? ";\n" : ";");
    }
    put("endmodule\n");
    close_output();
}

// Takes the --order and --names options; false for anything else.
bool take_option(std::string_view arg)
{
    if (arg == "--order=signal")
        order = ORDER::signal;
    else if (arg == "--order=reversed")
        order = ORDER::reversed;
    else if (arg == "--order=shuffled")
        order = ORDER::shuffled;
    else if (arg.starts_with("--order=shuffled:")) {
        order = ORDER::shuffled;
        shuffle_seed = parse_count(std::string(arg.substr(17)).c_str(), "shuffle SEED");
    } else if (arg == "--names=numbered")
        tool_names = false;
    else if (arg == "--names=tool")
        tool_names = true;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<const char*> args;  // the arguments that are not options
    bool options_ok = true;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).starts_with("--"))
            options_ok = take_option(argv[i]) && options_ok;
        else
            args.push_back(argv[i]);
    }
    const std::string mode = args.empty() ? "" : args[0];
    const std::size_t count = args.size();
    if (!options_ok ||
        !((mode == "dag" && count == 4) || (mode == "chain" && (count == 3 || count == 4)))) {
        std::fprintf(stderr,
                     "usage: bench_gen dag N SEED OUT_DIR [OPTION...]\n"
                     "       bench_gen chain N OUT_DIR [STATEMENTS] [OPTION...]\n"
                     "options: --order=signal|reversed|shuffled[:SEED] --names=numbered|tool\n");
        return 2;
    }
    const std::uint64_t n = parse_count(args[1], "N");
    if (n < 1 || n > max_gates)
        fail("N must be 1 to 4000000: a longer module body overflows the reader's parse stack",
             "");
    const std::string dir = args[mode == "dag" ? 3 : 2];
    write_library(dir);
    if (mode == "dag")
        write_dag(n, parse_count(args[2], "SEED"), dir);
    else
        write_chain(n, count == 4 ? parse_count(args[3], "STATEMENTS") : 0, dir);
    return 0;
}
