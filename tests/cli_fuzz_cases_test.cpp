// Inputs that fuzzing found or that guard what it found, each in a folder of
// tests/fuzz_cases/ with library.json, netlist.v and the expected status,
// stdout and stderr; `output` holds the expected output file where the run
// creates one without completing.
#include "cli_support.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> fuzz_cases()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(SOURCE_DIR "/tests/fuzz_cases"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class fuzz_case : public testing::TestWithParam<std::string> {};

TEST_P(fuzz_case, ends_as_expected)
{
    const std::string from = SOURCE_DIR "/tests/fuzz_cases/" + GetParam();
    const std::string dir = testing::TempDir() + "fuzz_case_" + GetParam();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string cmd = "cd '" + dir + "' && '" EVAL_FULL "' -library '" + from +
                            "/library.json' -netlist '" + from +
                            "/netlist.v' -output out.txt >stdout 2>stderr";
    const int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    const int status = WEXITSTATUS(raw);
    EXPECT_EQ(std::to_string(status) + "\n", read_file(from + "/status"));
    EXPECT_EQ(read_file(dir + "/stdout"), read_file(from + "/stdout"));
    EXPECT_EQ(read_file(dir + "/stderr"), read_file(from + "/stderr"));
    std::string expected_file = read_file(from + "/output");
    if (expected_file == "(none)" && status == 0)
        expected_file = read_file(from + "/stdout");
    EXPECT_EQ(read_file(dir + "/out.txt"), expected_file);
}

INSTANTIATE_TEST_SUITE_P(found, fuzz_case, testing::ValuesIn(fuzz_cases()),
                         [](const auto& info) { return info.param; });

} // namespace
