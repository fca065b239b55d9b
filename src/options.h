// Command-line option parser: a caller-supplied option table in, an option
// map out, and three queries on that map.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

enum Option_Type { Unknown_Option = 0, String_Option = 1, Bool_Option = 2 };

// Each unit that includes this header holds its own copy.
[[maybe_unused]] static const char* const Option_Type_String[] = {
    "Unknown option", "String option", "Bool option"};

// One row of the option table: name (with its '-'), type, default value.
struct OPTION {
    std::string name;
    Option_Type type = Unknown_Option;
    std::string default_value;
};

// The state of one option after parsing.
struct OPTION_VALUE {
    Option_Type type = Unknown_Option;
    bool set_from_arg = false;
    std::string value;
};

using OPTION_MAP = std::unordered_map<std::string, OPTION_VALUE>;

// Any bad argument prints its message on stdout and exits with status 1.
OPTION_MAP parse_arg(int argc, const char* const* argv, const std::vector<OPTION>& table);
bool is_option_value_true(const OPTION_MAP& options, const char* name);
bool is_option_value_set_from_arg(const OPTION_MAP& options, const char* name);
std::string get_string_option_value(const OPTION_MAP& options, const char* name);
