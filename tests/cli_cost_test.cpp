// The eight cost formulas end to end, each branch on both sides of its
// boundary, and which programs read the constraints from the module name.
#include "cli_support.h"

namespace {

class cli_cost : public cli_run {};

TEST_P(cli_cost, prints_the_cost)
{
    run_case();
}

// Module names by the constraint text they encode.
const std::string c10_500_100 = "top_901502648_834393783_6084279";
const std::string c10_2_100 = "top_851171000_814536678";
const std::string c10_500_05 = "top_901502648_817616567_6085557";      // 10_500_0.5
const std::string c10_201_051 = "top_851171000_1603131061_831640759";  // 10_2.01_0.51
const std::string c10_500_m1 = "top_901502648_767284919_6071992";      // 10_500_-1
const std::string c4_500_100 = "top_814876091_814613943_6071991";

std::string one_gate(const std::string& cell, const std::string& module = c10_500_100)
{
    return design(module, cell + " g1 (a, y);\n");
}

// a -> B8 (domain 1) -> n1 -> INV (domain 2) -> y: one crossing in two gates.
const std::string crossing = design(c10_500_100, "B8 g1 (a, n1);\nINV g2 (n1, y);\n");
// Two crossings, and TINY's output load 0.002 exceeds its maximum 0.001.
const std::string overloaded = design("top", "B8 g1 (a, n1);\nTINY g2 (n1, n2);\nB8 g3 (n2, y);\n");
// One inverter (area 4.0, leakage 1.0) among fillers of area and leakage 0.0.
std::string inverters(int fillers)
{
    return design("top", "INV (a, y);\n" + repeat("Z (.A(a));\n", fillers));
}
// n is declared an input after INV drives it, so n arrives at 0.0, not 1.0,
// and has probability 0.5, not 1.0: y arrives at 8.0 (timing factor 1.0) and
// the dynamic power is 0.5 x 1.0 + 0.5 x 0.5; crossings 1.5 x area 6.0 x
// (0.75^2 + leakage 1.5).
const std::string driven_input = design(c10_500_100, "INV g1 (u, n);\ninput n;\nB8 g2 (n, y);\n");
const std::string unknown_type = design(c10_500_100, "XYZ g1 (.A(a), .Y(y));\n");

const char* const rejected = "Error: module name error\n";
const char* const unknown = "Error: Input number of cell 'xyz' error\n";

CLI_CASE cost(const char* name, const char* program, const std::string& netlist,
              const std::string& value)
{
    const std::string line = "cost = " + value + "\n";
    return CLI_CASE{name, program, files, cells, netlist, 0, line, "", line};
}

CLI_CASE error(const char* name, const char* program, const std::string& netlist,
               const char* message)
{
    return CLI_CASE{name, program, files, cells, netlist, 1, "", message, ""};
}

INSTANTIATE_TEST_SUITE_P(eval_full, cli_cost, testing::Values(
    // Delay 8.0 against 0.8 x 10; 8.000001 gets 1.1.
    cost("full_at_0_8_clock", EVAL_FULL, one_gate("B8"), "1.016962"),
    cost("full_above_0_8_clock", EVAL_FULL, one_gate("B8P"), "1.030897"),
    cost("full_at_clock", EVAL_FULL, one_gate("B10"), "1.043786"),
    cost("full_above_clock", EVAL_FULL, one_gate("B10P"), "1.412878"),
    cost("full_area_reached", EVAL_FULL, one_gate("B8", c10_2_100), "1.279727"),
    cost("full_power_reached", EVAL_FULL, one_gate("B8", c10_500_05), "1.279727"),
    cost("full_limits_not_reached", EVAL_FULL, one_gate("B8", c10_201_051), "1.016962"),
    cost("full_crossing", EVAL_FULL, crossing, "1.538410"),
    cost("full_driven_input", EVAL_FULL, driven_input, "1.517614"),
    error("full_unknown_type", EVAL_FULL, unknown_type, unknown)),
    case_name);

INSTANTIATE_TEST_SUITE_P(alternatives, cli_cost, testing::Values(
    cost("inverter_over_budget", EVAL_INVERTER_BUDGET, inverters(18), "20002002.000000"),
    cost("inverter_within_budget", EVAL_INVERTER_BUDGET, inverters(19), "2.000000"),
    cost("power_area_by_area", EVAL_POWER_AREA, one_gate("B8", c10_2_100), "4472.136123"),
    // Switching 0.5 x leakage 2.0 = 1.0, plus the limit -1.0, is not below zero.
    cost("power_area_by_power", EVAL_POWER_AREA, one_gate("P2", c10_500_m1), "4472.136290"),
    cost("power_area_below_limit", EVAL_POWER_AREA, one_gate("P15", c10_500_m1), "1.500000"),
    cost("slack_power_met", EVAL_SLACK_POWER, one_gate("B8"), "1.143168"),
    // Delay 8.0 against the clock 4: wns -4.0, tns -8.0.
    cost("slack_power_violated", EVAL_SLACK_POWER, one_gate("B8", c4_500_100), "2.360533"),
    cost("slack_total_met", EVAL_SLACK_TOTAL, one_gate("B8"), "1.000000"),
    cost("slack_total_violated", EVAL_SLACK_TOTAL, one_gate("B8", c4_500_100), "10.571570"),
    cost("worst_slack_met", EVAL_WORST_SLACK, one_gate("B8"), "1.000000"),
    cost("worst_slack_violated", EVAL_WORST_SLACK, one_gate("B8", c4_500_100), "5.000000"),
    cost("dynamic_power_no_gates", EVAL_DYNAMIC_POWER, design(c10_500_100, ""), "1.000000"),
    cost("dynamic_power_one_gate", EVAL_DYNAMIC_POWER, one_gate("B8"), "1.250000"),
    error("dynamic_power_unknown_type", EVAL_DYNAMIC_POWER, unknown_type, unknown),
    cost("domain_cap_none", EVAL_DOMAIN_CAP, one_gate("B8", "top"), "0.000000"),
    cost("domain_cap_counted", EVAL_DOMAIN_CAP, overloaded, "5.000000")),
    case_name);

// A single word: no underscore, so nothing to decode.
INSTANTIATE_TEST_SUITE_P(free_module_name, cli_cost, testing::Values(
    cost("inverter_budget_accepts", EVAL_INVERTER_BUDGET, one_gate("B8", "top"), "1.000000"),
    cost("domain_cap_accepts", EVAL_DOMAIN_CAP, one_gate("B8", "top"), "0.000000"),
    error("full_rejects", EVAL_FULL, one_gate("B8", "top"), rejected),
    error("power_area_rejects", EVAL_POWER_AREA, one_gate("B8", "top"), rejected),
    error("slack_power_rejects", EVAL_SLACK_POWER, one_gate("B8", "top"), rejected),
    error("slack_total_rejects", EVAL_SLACK_TOTAL, one_gate("B8", "top"), rejected),
    error("dynamic_power_rejects", EVAL_DYNAMIC_POWER, one_gate("B8", "top"), rejected),
    error("worst_slack_rejects", EVAL_WORST_SLACK, one_gate("B8", "top"), rejected)),
    case_name);

INSTANTIATE_TEST_SUITE_P(malformed_module_name, cli_cost, testing::Values(
    error("two_values", EVAL_FULL, one_gate("B8", "top_901502648_6084279"), rejected),
    // 10_500_2.5_1
    error("four_values", EVAL_FULL, one_gate("B8", "top_901502648_851170999_834395061"), rejected),
    error("empty_number", EVAL_FULL, one_gate("B8", "top_901502648__834393783_6084279"), rejected),
    error("number_past_int32", EVAL_FULL, one_gate("B8", "top_2147483648_834393783_6084279"),
          rejected),
    // The text ends in the third number; the rest only fills the 64 words.
    cost("sixty_four_numbers", EVAL_FULL, one_gate("B8", c10_500_100 + repeat("_1", 61)),
         "1.016962"),
    error("sixty_five_numbers", EVAL_FULL, one_gate("B8", c10_500_100 + repeat("_1", 62)),
          rejected),
    // 10_500_1e39: beyond single precision.
    error("power_overflows_float", EVAL_FULL, one_gate("B8", "top_901502648_834393783_9820652"),
          rejected)),
    case_name);

} // namespace
