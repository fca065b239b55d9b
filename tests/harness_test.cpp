// Self-test harness: the stored case replayed in a scratch working directory,
// the line-by-line comparison, and the repository's own stored case.
#include "main_test.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char* const case_lib = R"({ "information": { "cell_num": "1", "attribute_num": "1",
  "attributes": ["a_f"] },
  "cells": [ { "cell_name": "INV", "cell_type": "not", "data_1_f": "0.5" } ] })";
const char* const listing =
    "lib info:\n***************************\n  cell_num: 1\n  attr_num: 1\n  attributes:\n"
    "    - a_f\n***************************\ncells:\n  INV:\n    - input_num: 1\n"
    "    - cell_name: INV\n    - cell_type: not\n    - data_1_f: 0.500000\n"
    "***************************\n";
const std::string passed = "Test Result:\n  Total :   1\n  Pass  :   1\n  Failed:   0\n";
const std::string failed = "Test Result:\n  Total :   1\n  Pass  :   0\n  Failed:   1\n";

void write_file(const std::string& path, const char* text)  // null: no file
{
    if (text)
        std::ofstream(path, std::ios::binary) << text;
}

std::string run_captured()
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    run_test();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Each test works in a fresh directory and leaves the process where it was.
class harness : public testing::Test {
protected:
    void SetUp() override
    {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            c = c == '/' ? '_' : c;
        dir = testing::TempDir() + "harness_" + name + "_" + std::to_string(getpid());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir + "/testcase/case001");
        std::filesystem::current_path(dir);
    }
    void TearDown() override
    {
        std::filesystem::current_path(home);
        std::filesystem::remove_all(dir);
    }
    const std::filesystem::path home = std::filesystem::current_path();
    std::string dir;
};

struct HARNESS_CASE {
    const char* name;
    const char* lib;  // the three case files; null: missing
    const char* out_expect;
    const char* err_expect;
    std::string out;
};
void PrintTo(const HARNESS_CASE& c, std::ostream* os) { *os << c.name; }
class run_case : public harness, public testing::WithParamInterface<HARNESS_CASE> {};

TEST_P(run_case, prints_failures_then_the_summary)
{
    write_file("testcase/case001/lib1.json", GetParam().lib);
    write_file("testcase/case001/stdout_expect.out", GetParam().out_expect);
    write_file("testcase/case001/stderr_expect.out", GetParam().err_expect);
    EXPECT_EQ(run_captured(), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(harness, run_case, testing::Values(
    HARNESS_CASE{"passing", case_lib, listing, "", passed},
    HARNESS_CASE{"stdout_differs", case_lib,
                 "lib info:\n***************************\n  cell_num: 9\n", "",
                 "Case001 stdout:Line 3 is different:\n  Expected:   cell_num: 9\n"
                 "  Current :   cell_num: 1\n" + failed},
    HARNESS_CASE{"stderr_differs", case_lib, listing, "warning\n",
                 "Case001 stderr: Line 1 is different:\n  Expected: warning\n  Current : \n" +
                     failed},
    HARNESS_CASE{"stdout_expect_missing", case_lib, nullptr, "",
                 "Case001 stdout:Can not open file1 'testcase/case001/stdout_expect.out' to "
                 "compare\n" + failed},
    HARNESS_CASE{"lib_missing", nullptr, listing, "",
                 "Case001: Can not open the lib file: 'testcase/case001/lib1.json'\n" + failed}),
    [](const auto& info) { return std::string(info.param.name); });

struct COMPARE_CASE {
    const char* name;
    const char* expected;
    const char* current;  // null: missing
    bool pass;
    const char* message;
};
void PrintTo(const COMPARE_CASE& c, std::ostream* os) { *os << c.name; }
class compare : public harness, public testing::WithParamInterface<COMPARE_CASE> {};

TEST_P(compare, compares_line_by_line)
{
    write_file("a.txt", GetParam().expected);
    write_file("b.txt", GetParam().current);
    EXPECT_EQ(compare_two_file("a.txt", "b.txt"), TEST_RESULT(GetParam().pass, GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(harness, compare, testing::Values(
    COMPARE_CASE{"identical", "x\ny\n", "x\ny\n", true, ""},
    COMPARE_CASE{"both_empty", "", "", true, ""},
    // The exhausted side reads an empty line; an empty next line ends the walk.
    COMPARE_CASE{"longer_next_line_empty", "x\n", "x\n\nz\n", true, ""},
    COMPARE_CASE{"longer_current", "x\n", "x\nz\n", false,
                 "Line 2 is different:\n  Expected: \n  Current : z"},
    COMPARE_CASE{"longer_expected", "x\nz\n", "x\n", false,
                 "Line 2 is different:\n  Expected: z\n  Current : "},
    COMPARE_CASE{"carriage_return", "x\r\n", "x\n", false,
                 "Line 1 is different:\n  Expected: x\r\n  Current : x"},
    COMPARE_CASE{"current_missing", "x\n", nullptr, false,
                 "Can not open file2 'b.txt' to compare"}),
    [](const auto& info) { return std::string(info.param.name); });

// The side without a final newline must not read its last line twice.
TEST_F(harness, missing_final_newline_is_no_difference)
{
    write_file("a.txt", "x\ny");
    write_file("b.txt", "x\ny\n");
    EXPECT_EQ(compare_two_file("a.txt", "b.txt"), TEST_RESULT(true, ""));
    EXPECT_EQ(compare_two_file("b.txt", "a.txt"), TEST_RESULT(true, ""));
}

TEST(harness_repository, stored_case_passes)
{
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(TESTCASE_DIR);
    const std::string out = run_captured();
    std::filesystem::current_path(home);
    EXPECT_EQ(out, passed);
}

} // namespace
