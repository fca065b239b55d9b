// Design and library listings on standard output.
#include "listing.h"

#include "design.h"
#include "net_order.h"

#include <cstdio>

namespace {

void separator()
{
    std::fputs("***************************\n", stdout);
}

const char* driver_text(const NET& net)
{
    if (net.driver)
        return net.driver->gate->name.c_str();
    if (net.is_primary_input)
        return "primary-input";
    return "(null)";
}

void print_pin(const PIN& pin)
{
    std::printf(".%s(%s) ", pin.name, pin.net->name.c_str());
}

} // namespace

void dump_design()
{
    std::printf("design: %s\n", design_name.c_str());
    separator();
    for (const auto& gate : gates) {
        std::printf("  %s %s( ", gate->cell->attrs["cell_name"].sval.c_str(), gate->name.c_str());
        for (const PIN& pin : gate->in_pins)
            print_pin(pin);
        if (gate->out_pin.net)
            print_pin(gate->out_pin);
        std::fputs(")\n", stdout);
    }
    separator();
    std::fputs("nets:\n", stdout);
    separator();
    for (const NET* net : net_order()) {
        std::printf("nets: %s, driver: %s fanout(%d):", net->name.c_str(), driver_text(*net),
                    net->fanout);
        for (const PIN* sink : net->sinks)
            std::printf(" %s(%s)", sink->gate->name.c_str(), sink->name);
        if (net->is_primary_output)
            std::fputs(" primary-output", stdout);
        std::fputs("\n", stdout);
    }
    separator();
}

void dump_lib()
{
    std::fputs("lib info:\n", stdout);
    separator();
    std::printf("  cell_num: %d\n  attr_num: %d\n  attributes:\n", lib.cell_num, lib.attr_num);
    for (const std::string& name : lib.attributes)
        std::printf("    - %s\n", name.c_str());
    separator();
    std::fputs("cells:\n", stdout);
    for (const auto& [name, cell] : lib.cells) {
        std::printf("  %s:\n", name.c_str());
        std::printf("    - input_num: %zu\n", cell.input_num);
        for (const auto& [key, attr] : cell.attrs) {
            const char last = key.empty() ? '\0' : key.back();
            if (last == 'i')
                std::printf("    - %s: %d\n", key.c_str(), attr.ival);
            else if (last == 'f')
                std::printf("    - %s: %lf\n", key.c_str(), attr.fval);
            else
                std::printf("    - %s: %s\n", key.c_str(), attr.sval.c_str());
        }
    }
    separator();
}
