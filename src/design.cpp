// Design database: the process-wide containers and the fatal reporters.
#include "design.h"

#include "name_index.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

int _gate_id = 1;
int _net_id = 1;

LIB lib;
CELL tmp_cell;
std::vector<GATE*> gates;
namespace {
NAME_INDEX net_index;
}
NET_MAP nets{{}, net_index};
std::string design_name;
std::map<std::string, int> cell_used;
std::map<std::string, int> cell_type_used;
int gate_count = 0;
int over_max_capacitance_cnt = 0;
std::string attr_a, attr_b, attr_pd, attr_leak, attr_cap, attr_area, attr_maxc;

namespace {

[[noreturn]] void report_and_exit(const char* format, va_list args)
{
    std::vfprintf(stderr, format, args);
    std::exit(1);
}

} // namespace

void LIB::reset()
{
    cell_num = -1;
    attr_num = -1;
    attributes.clear();
    cells.clear();
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
