// End-to-end test support: one record per program run, the run itself in a
// folder of its own (safe under ctest -j), and the cell library the cases share.
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct CLI_CASE {
    const char* name;
    const char* program;
    const char* args;
    std::string library;  // written as lib.json
    std::string netlist;  // written as net.v
    int status;
    std::string out;
    std::string err;
    std::string file;  // out.txt as left behind, "(none)" when it was never created
    const char* setup = "";    // shell commands run first in the folder, ending in "&&"
    const char* streams = "";  // redirections after the captures, such as ">&-"
};

inline void PrintTo(const CLI_CASE& c, std::ostream* os)
{
    *os << c.name;
}

inline std::string case_name(const testing::TestParamInfo<CLI_CASE>& info)
{
    return info.param.name;
}

inline void write_file(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "(none)";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string repeat(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

// A netlist with the primary input a and the primary output y.
inline std::string design(const std::string& module, const std::string& body)
{
    return "module " + module + " (a, y);\ninput a;\noutput y;\n" + body + "endmodule\n";
}

constexpr const char* files = "-library lib.json -netlist net.v -output out.txt";

// Delay slope 0.0 everywhere, so a gate's delay is its intrinsic delay exactly;
// input capacitance 0.0, so an output load is the wire load alone.
inline const std::string cells = R"({
  "information": {
    "cell_num": "10", "attribute_num": "9",
    "attributes": ["cell_name", "cell_type", "a_f", "b_f", "pd_i",
                   "cell_leakage_power_f", "capacitance_f", "area_f", "max_capacitance_f"]
  },
  "cells": [
{"cell_name": "B8", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "8.0", "data_3_i": "1",
 "data_4_f": "0.5", "data_5_f": "0.0", "data_6_f": "2.0", "data_7_f": "1.0"},
{"cell_name": "B8P", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "8.000001", "data_3_i": "1",
 "data_4_f": "0.5", "data_5_f": "0.0", "data_6_f": "2.0", "data_7_f": "1.0"},
{"cell_name": "B10", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "10.0", "data_3_i": "1",
 "data_4_f": "0.5", "data_5_f": "0.0", "data_6_f": "2.0", "data_7_f": "1.0"},
{"cell_name": "B10P", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "10.000001",
 "data_3_i": "1", "data_4_f": "0.5", "data_5_f": "0.0", "data_6_f": "2.0", "data_7_f": "1.0"},
{"cell_name": "INV", "cell_type": "not", "data_1_f": "0.0", "data_2_f": "1.0", "data_3_i": "2",
 "data_4_f": "1.0", "data_5_f": "0.0", "data_6_f": "4.0", "data_7_f": "1.0"},
{"cell_name": "Z", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "0.0", "data_3_i": "1",
 "data_4_f": "0.0", "data_5_f": "0.0", "data_6_f": "0.0", "data_7_f": "1.0"},
{"cell_name": "P2", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "1.0", "data_3_i": "1",
 "data_4_f": "2.0", "data_5_f": "0.0", "data_6_f": "1.0", "data_7_f": "1.0"},
{"cell_name": "P15", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "1.0", "data_3_i": "1",
 "data_4_f": "1.5", "data_5_f": "0.0", "data_6_f": "1.0", "data_7_f": "1.0"},
{"cell_name": "TINY", "cell_type": "buf", "data_1_f": "0.0", "data_2_f": "1.0", "data_3_i": "2",
 "data_4_f": "0.5", "data_5_f": "0.0", "data_6_f": "1.0", "data_7_f": "0.001"},
{"cell_name": "XYZ", "cell_type": "xyz", "data_1_f": "0.0", "data_2_f": "1.0", "data_3_i": "1",
 "data_4_f": "0.5", "data_5_f": "0.0", "data_6_f": "1.0", "data_7_f": "1.0"}
  ]
}
)";

// Runs the case's program in a fresh folder and compares everything it leaves.
class cli_run : public testing::TestWithParam<CLI_CASE> {
protected:
    void run_case() const
    {
        const CLI_CASE& c = GetParam();
#ifdef ADDRESS_SANITIZER
        // AddressSanitizer reserves terabytes of address space: no run fits a ulimit -v.
        if (std::string(c.setup).starts_with("ulimit -v"))
            GTEST_SKIP() << "address-space limit under AddressSanitizer";
#endif
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string folder = std::string(info->test_suite_name()) + "." + info->name();
        for (char& ch : folder)
            if (ch == '/')
                ch = '_';
        const std::string dir = testing::TempDir() + folder;
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        write_file(dir + "/lib.json", c.library);
        write_file(dir + "/net.v", c.netlist);
        const std::string cmd = "cd '" + dir + "' && " + c.setup + " '" + c.program + "' " +
                                c.args + " >stdout 2>stderr " + c.streams;
        const int raw = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), c.status);
        EXPECT_EQ(read_file(dir + "/stdout"), c.out);
        EXPECT_EQ(read_file(dir + "/stderr"), c.err);
        EXPECT_EQ(read_file(dir + "/out.txt"), c.file);
    }
};
