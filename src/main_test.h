// Self-test harness: replays the stored library case under testcase/case001/
// with stdout and stderr captured, and compares the captures line by line
// with the expected files. Not started by the run sequence.
#pragma once
#include <string>
#include <utility>

// Pass flag and, for a failure, what failed.
using TEST_RESULT = std::pair<bool, std::string>;

// Runs every registered case and prints failures and the summary; returns 1.
int run_test();
void prepare_test();
TEST_RESULT run_case001();
TEST_RESULT compare_two_file(const std::string& expected_path, const std::string& current_path);
