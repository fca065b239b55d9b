// Option parser: the command lines it accepts, the ones that end the run,
// and the three queries.
#include "options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The program's own table, plus one row of a type the parser cannot handle.
const std::vector<OPTION> table = {
    {"-library", String_Option, "<NoValue>"}, {"-netlist", String_Option, "<NoValue>"},
    {"-output", String_Option, "<NoValue>"},  {"-debug", Bool_Option, "false"},
    {"-test", Bool_Option, "false"},          {"-odd", Unknown_Option, ""},
};

OPTION_MAP parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "eval_full");
    return parse_arg(static_cast<int>(args.size()), args.data(), table);
}

std::string captured(const std::function<void()>& run)
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    run();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Either the options given, as "name=value " in table order (every other
// option must keep its default), or the stdout of a run that ends with status 1.
struct ARGS_CASE {
    const char* name;
    std::vector<const char*> args;
    const char* result;
    bool ends;
};
void PrintTo(const ARGS_CASE& c, std::ostream* os) { *os << c.name; }
class parse_args : public testing::TestWithParam<ARGS_CASE> {};

TEST_P(parse_args, gives_the_map_or_ends_the_run)
{
    const ARGS_CASE& c = GetParam();
    if (c.ends) {  // the message is on stdout: hand it to the stream the death test reads
        EXPECT_EXIT({ dup2(2, 1); parse(c.args); }, testing::ExitedWithCode(1),
                    "^" + std::string(c.result) + "$");
        return;
    }
    OPTION_MAP options;
    EXPECT_EQ(captured([&] { options = parse(c.args); }), "");
    EXPECT_EQ(options.size(), table.size());
    std::string given;
    for (const OPTION& row : table) {
        const OPTION_VALUE& option = options.at(row.name);
        EXPECT_EQ(option.type, row.type);
        if (option.set_from_arg)
            given += row.name + "=" + option.value + " ";
        else
            EXPECT_EQ(option.value, row.default_value);
    }
    EXPECT_EQ(given, c.result);
}

INSTANTIATE_TEST_SUITE_P(options, parse_args, testing::Values(
    ARGS_CASE{"no_args", {}, "", false},
    ARGS_CASE{"all_given", {"-library", "l", "-netlist", "n", "-output", "o", "-debug", "-test"},
              "-library=l -netlist=n -output=o -debug=true -test=true ", false},
    ARGS_CASE{"last_wins", {"-library", "a", "-debug", "-library", "b", "-debug"},
              "-library=b -debug=true ", false},
    ARGS_CASE{"option_name_as_value", {"-output", "-library"}, "-output=-library ", false},
    ARGS_CASE{"empty_value", {"-netlist", ""}, "-netlist= ", false},
    ARGS_CASE{"stray_after_value", {"-library", "-netlist", "n.v"},
              "Error: Unexpected argumment 'n.v'\n", true},
    ARGS_CASE{"missing_value", {"-netlist", "n", "-output"},
              "Error: Option '-output' expected a following string\n", true},
    ARGS_CASE{"empty_argument", {""}, "Error: Unexpected argumment ''\n", true},
    ARGS_CASE{"joined_value", {"-debug=true"}, "Error: Unexpected argumment '-debug=true'\n", true},
    ARGS_CASE{"leftmost_reported", {"-Debug", "-x"}, "Error: Unexpected argumment '-Debug'\n",
              true},
    ARGS_CASE{"unknown_type", {"-debug", "-odd"},
              "Error: Option '-odd' has an unexpected Option Type 0\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(options, queries_report_and_go_on)
{
    const OPTION_MAP options = parse({"-netlist", "n", "-debug"});
    std::string value;
    bool on = true;
    EXPECT_EQ(captured([&] { value = get_string_option_value(options, "-library"); }),
              "Note: Option '-library' use default value\n");
    EXPECT_EQ(value, "<NoValue>");
    EXPECT_EQ(captured([&] { on = is_option_value_true(options, "-library"); }),
              "Error: Option '-library' is not bool option\n");
    EXPECT_FALSE(on);
    EXPECT_EQ(captured([&] { on = is_option_value_set_from_arg(options, nullptr); }),
              "Error: Option string can not be NULL\n");
    EXPECT_FALSE(on);
    EXPECT_TRUE(is_option_value_true(options, "-debug"));
    EXPECT_THROW(is_option_value_set_from_arg(options, "-nope"), std::out_of_range);
    EXPECT_EXIT({ dup2(2, 1); get_string_option_value(options, "-debug"); },
                testing::ExitedWithCode(1), "^Error: Option '-debug' is not string option\n$");
}

} // namespace
