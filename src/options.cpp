// Command-line option parser.
#include "options.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Failures of the command line end the run: a failure is never status 0.
[[noreturn]] void end_run()
{
    std::exit(1);
}

bool is_null_name(const char* name)
{
    if (name)
        return false;
    std::puts("Error: Option string can not be NULL");
    return true;
}

} // namespace

OPTION_MAP parse_arg(int argc, const char* const* argv, const std::vector<OPTION>& table)
{
    OPTION_MAP options(10);
    for (const OPTION& row : table)
        options[row.name] = OPTION_VALUE{row.type, false, row.default_value};
    for (int i = 1; i < argc; ++i) {
        const auto found = options.find(argv[i]);
        if (found == options.end()) {
            std::printf("Error: Unexpected argumment '%s'\n", argv[i]);
            end_run();
        }
        OPTION_VALUE& option = found->second;
        if (option.type == String_Option) {
            if (i + 1 >= argc) {
                std::printf("Error: Option '%s' expected a following string\n", argv[i]);
                end_run();
            }
            option.value = argv[++i];
            option.set_from_arg = true;
        } else if (option.type == Bool_Option) {
            option.value = "true";
            option.set_from_arg = true;
        } else {
            std::printf("Error: Option '%s' has an unexpected Option Type %d\n", argv[i],
                        static_cast<int>(option.type));
            end_run();
        }
    }
    return options;
}

bool is_option_value_true(const OPTION_MAP& options, const char* name)
{
    if (is_null_name(name))
        return false;
    const OPTION_VALUE& option = options.at(name);
    if (option.type != Bool_Option) {
        std::printf("Error: Option '%s' is not bool option\n", name);
        return false;
    }
    return option.value == "true";
}

bool is_option_value_set_from_arg(const OPTION_MAP& options, const char* name)
{
    if (is_null_name(name))
        return false;
    return options.at(name).set_from_arg;
}

std::string get_string_option_value(const OPTION_MAP& options, const char* name)
{
    if (is_null_name(name))
        end_run();
    const OPTION_VALUE& option = options.at(name);
    if (option.type != String_Option) {
        std::printf("Error: Option '%s' is not string option\n", name);
        end_run();
    }
    if (!option.set_from_arg)
        std::printf("Note: Option '%s' use default value\n", name);
    return option.value;
}
