// Self-test harness.
#include "main_test.h"

#include "design.h"
#include "listing.h"
#include "options.h"
#include "reader.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr bool Test_Pass = true;
constexpr bool Test_Failed = false;

std::vector<std::function<TEST_RESULT()>> test_cases;

void close_file(FILE* stream)
{
    std::fclose(stream);
}

void restore_stdout(FILE* stream)
{
    stdout = stream;
}

void restore_stderr(FILE* stream)
{
    stderr = stream;
}

// A stream with the action that releases it; unique_ptr runs the action
// once, and only for a non-null stream.
using STREAM_HANDLE = std::unique_ptr<FILE, void (*)(FILE*)>;

STREAM_HANDLE unique_fopen(const char* path, const char* mode)
{
    return STREAM_HANDLE(std::fopen(path, mode), close_file);
}

STREAM_HANDLE use_temp_stdout(FILE* stream)
{
    STREAM_HANDLE saved(stdout, restore_stdout);
    stdout = stream;
    return saved;
}

STREAM_HANDLE use_temp_stderr(FILE* stream)
{
    STREAM_HANDLE saved(stderr, restore_stderr);
    stderr = stream;
    return saved;
}

// Parses the case's library with stdout and stderr captured and lists it.
TEST_RESULT capture_case001()
{
    const STREAM_HANDLE lib_file = unique_fopen("testcase/case001/lib1.json", "r");
    if (!lib_file)
        return {Test_Failed, "Case001: Can not open the lib file: 'testcase/case001/lib1.json'"};
    const STREAM_HANDLE out_file = unique_fopen("testcase/case001/stdout.out", "w");
    if (!out_file)
        return {Test_Failed, "Case001: Can not open the file to store stdout: "
                             "'testcase/case001/stdout.out'"};
    const STREAM_HANDLE err_file = unique_fopen("testcase/case001/stderr.out", "w");
    if (!err_file)
        return {Test_Failed, "Case001: Can not open the file to store stderr: "
                             "'testcase/case001/stderr.out'"};
    const STREAM_HANDLE out_guard = use_temp_stdout(out_file.get());
    const STREAM_HANDLE err_guard = use_temp_stderr(err_file.get());
    yyin = lib_file.get();
    line_no = 1;
    if (yyparse() != 0)
        return {Test_Failed, "Case001: yyparse failed"};
    dump_lib();
    return {Test_Pass, ""};
}

} // namespace

int run_test()
{
    prepare_test();
    int total = 0;
    int passed = 0;
    int failed = 0;
    for (const auto& test_case : test_cases) {
        const TEST_RESULT result = test_case();
        if (result.first) {
            passed += 1;
        } else {
            failed += 1;
            std::printf("%s\n", result.second.c_str());
        }
        total += 1;
    }
    std::printf("Test Result:\n");
    std::printf("  Total : %3d\n", total);
    std::printf("  Pass  : %3d\n", passed);
    std::printf("  Failed: %3d\n", failed);
    return 1;
}

void prepare_test()
{
    test_cases.push_back(run_case001);
}

TEST_RESULT run_case001()
{
    // The captures are closed, and so complete, before they are compared.
    const TEST_RESULT captured = capture_case001();
    if (!captured.first)
        return captured;
    const TEST_RESULT out = compare_two_file("testcase/case001/stdout_expect.out",
                                             "testcase/case001/stdout.out");
    if (!out.first)
        return {Test_Failed, "Case001 stdout:" + out.second};
    const TEST_RESULT err = compare_two_file("testcase/case001/stderr_expect.out",
                                             "testcase/case001/stderr.out");
    if (!err.first)
        return {Test_Failed, "Case001 stderr: " + err.second};
    return {Test_Pass, ""};
}

TEST_RESULT compare_two_file(const std::string& expected_path, const std::string& current_path)
{
    std::fstream expected(expected_path, std::ios::in | std::ios::out);
    if (expected.fail())
        return {Test_Failed, "Can not open file1 '" + expected_path + "' to compare"};
    std::fstream current(current_path, std::ios::in | std::ios::out);
    if (current.fail())
        return {Test_Failed, "Can not open file2 '" + current_path + "' to compare"};
    std::string expected_line;
    std::string current_line;
    for (int n = 1; !expected.fail() && !current.fail(); ++n) {
        // A read past the end leaves getline's string untouched: start empty.
        expected_line.clear();
        current_line.clear();
        std::getline(expected, expected_line);
        std::getline(current, current_line);
        if (expected_line != current_line)
            return {Test_Failed, "Line " + std::to_string(n) + " is different:\n" +
                                     "  Expected: " + expected_line + "\n" +
                                     "  Current : " + current_line};
    }
    return {Test_Pass, ""};
}
