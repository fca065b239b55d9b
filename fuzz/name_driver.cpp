// Fuzz driver for the numbers of the module name. The fuzz input becomes the
// part of a module name after "m_"; the name goes into a fixed netlist, and
// eval_full's own main runs on it with a fixed library. Every path of the run
// is the real program's: the driver only writes the netlist file.
//
//   name_driver LIBRARY TEMPLATE SCRATCH INPUT
//
// TEMPLATE is a netlist whose module name is the word MODULE_NAME; SCRATCH is
// where the filled-in netlist is written; INPUT is the fuzz input.
#include <cstdio>
#include <cstdlib>
#include <string>

int eval_main_entry(int argc, char** argv);

namespace {

// Plain stdio throughout: under UndefinedBehaviorSanitizer the iostreams'
// dynamic type checks cost system calls in every run.
std::string read_file(const char* path)
{
    std::FILE* in = std::fopen(path, "rb");
    if (!in) {
        std::fprintf(stderr, "name_driver: cannot read %s\n", path);
        std::exit(3);
    }
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        text.append(buffer, n);
    std::fclose(in);
    return text;
}

// A name may hold letters, digits and underscores. Those bytes pass as they
// are, so seeds and dictionary words keep their meaning; any other byte
// becomes a digit or an underscore, so every mutation still yields a name
// and lands in the numbers.
std::string to_name_text(const std::string& input)
{
    static const char fallback[] = "0123456789_";
    std::string text;
    text.reserve(input.size());
    for (const unsigned char c : input) {
        const bool name_char = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                               (c >= 'a' && c <= 'z') || c == '_';
        text += name_char ? static_cast<char>(c) : fallback[c % (sizeof fallback - 1)];
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fputs("usage: name_driver LIBRARY TEMPLATE SCRATCH INPUT\n", stderr);
        return 3;
    }
    std::string netlist = read_file(argv[2]);
    const std::string marker = "MODULE_NAME";
    const std::size_t at = netlist.find(marker);
    if (at == std::string::npos) {
        std::fprintf(stderr, "name_driver: no MODULE_NAME in %s\n", argv[2]);
        return 3;
    }
    netlist.replace(at, marker.size(), "m_" + to_name_text(read_file(argv[4])));
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out || std::fwrite(netlist.data(), 1, netlist.size(), out) != netlist.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "name_driver: cannot write %s\n", argv[3]);
        return 3;
    }
    char program[] = "eval_full";
    char library_flag[] = "-library";
    char netlist_flag[] = "-netlist";
    char output_flag[] = "-output";
    char output[] = "/dev/null";
    char* args[] = {program, library_flag, argv[1], netlist_flag, argv[3],
                    output_flag, output, nullptr};
    return eval_main_entry(7, args);
}
