#include "recording_builders.h"

#include "design.h"
#include "reader.h"
#include "y.tab.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

using namespace std::literals;

namespace {

// Points the scanner at a copy of `text`, from line 1. A temporary file, not
// fmemopen: the scanner reads the stream's descriptor.
FILE* feed(std::string_view text)
{
    FILE* in = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), in);
    std::rewind(in);
    yyin = in;
    line_no = 1;
    return in;
}

std::string token_text(int token)
{
    static const char* const names[] = {"MODULE", "IDENT", "LPAREN", "RPAREN", "SEMICOLON",
        "COMMA", "ENDMODULE", "COLON", "WIRE", "INPUT", "OUTPUT", "LBRACKET", "RBRACKET",
        "LBRACE", "RBRACE", "QUOTE", "INFORMATION", "CELL_NUM", "ATTRIBUTE_NUM", "ATTRIBUTES",
        "CELLS", "INTEGER", "FLOAT", "DOT"};
    std::string text = token < MODULE || token > DOT ? "token " + std::to_string(token)
                                                     : names[token - MODULE];
    if (token == IDENT)
        text += "("s + yylval.str + ")";
    if (token == INTEGER)
        text += "(" + std::to_string(yylval.ival) + ")";
    if (token == FLOAT)
        text += "(" + shortest(yylval.dval) + ")";
    return text + "@" + std::to_string(line_no);
}

// Every token up to the end of input; `echo` also prints each one on stdout
// as it comes, so a fatal case shows how far the scanner got.
std::string lex_all(std::string_view text, bool echo = false, int first_line = 1)
{
    FILE* in = feed(text);
    line_no = first_line;
    std::string out;
    while (int token = yylex()) {
        const std::string one = token_text(token);
        if (echo)
            std::printf("%s\n", one.c_str());
        out += (out.empty() ? "" : " ") + one;
    }
    std::fclose(in);
    return out;
}

int parse(std::string_view text)
{
    FILE* in = feed(text);
    const int result = yyparse();
    std::fclose(in);
    return result;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : " ") + item;
    return out;
}

// The fatal paths print on stdout: the dying child sends it to this file.
std::string stdout_file(const std::string& name)
{
    return testing::TempDir() + "reader_" + name + ".stdout";
}

void stdout_to(const std::string& path) { (void)std::freopen(path.c_str(), "w", stdout); }

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "(none)";
}

struct READER_CASE {
    const char* name;
    std::string_view input;
    const char* expected;  // tokens, builder calls or stdout, by suite
};
void PrintTo(const READER_CASE& c, std::ostream* os) { *os << c.name; }
std::string case_name(const testing::TestParamInfo<READER_CASE>& info) { return info.param.name; }

class reader : public testing::Test {
protected:
    void SetUp() override
    {
        calls.clear();
        line_no = 1;
    }
};
class scanner_tokens : public testing::TestWithParam<READER_CASE> {};
class scanner_fatal : public testing::TestWithParam<READER_CASE> {};
class parser_accepts : public reader, public testing::WithParamInterface<READER_CASE> {};
class parser_rejects : public testing::TestWithParam<READER_CASE> {};

TEST_P(scanner_tokens, cuts_the_text)
{
    EXPECT_EQ(lex_all(GetParam().input), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(reader, scanner_tokens, testing::Values(
    READER_CASE{"floats", "1.2.3 .5 5. .. . 1..2 0.1", "FLOAT(1.2)@1 FLOAT(0.5)@1 FLOAT(5)@1 "
        "FLOAT(0)@1 DOT@1 FLOAT(1)@1 FLOAT(0.1)@1"},
    READER_CASE{"integers", "007 2147483647 2147483648 99999999999",
        "INTEGER(7)@1 INTEGER(2147483647)@1 INTEGER(2147483647)@1 INTEGER(2147483647)@1"},
    READER_CASE{"names_and_splits", "1abc 1e5 0x1F _ 1.5abc 12abc.5 1.5e3 a.b",
        "IDENT(1abc)@1 IDENT(1e5)@1 IDENT(0x1F)@1 IDENT(_)@1 FLOAT(1.5)@1 IDENT(abc)@1 "
        "IDENT(12abc)@1 FLOAT(0.5)@1 FLOAT(1.5)@1 IDENT(e3)@1 IDENT(a)@1 DOT@1 IDENT(b)@1"},
    READER_CASE{"keywords", "module endmodule wire input output information cell_num "
        "attribute_num attributes cells", "MODULE@1 ENDMODULE@1 WIRE@1 INPUT@1 OUTPUT@1 "
        "INFORMATION@1 CELL_NUM@1 ATTRIBUTE_NUM@1 ATTRIBUTES@1 CELLS@1"},
    READER_CASE{"keyword_lookalikes", "Cells cellsx Module modules cell_num2 cell_name inputs",
        "IDENT(Cells)@1 IDENT(cellsx)@1 IDENT(Module)@1 IDENT(modules)@1 IDENT(cell_num2)@1 "
        "IDENT(cell_name)@1 IDENT(inputs)@1"},
    READER_CASE{"punctuation", "();,:[]{}\".", "LPAREN@1 RPAREN@1 SEMICOLON@1 COMMA@1 COLON@1 "
        "LBRACKET@1 RBRACKET@1 LBRACE@1 RBRACE@1 QUOTE@1 DOT@1"},
    READER_CASE{"quoted_blanks", "\" cell_num\t\"\"cell_num\"", "QUOTE@1 CELL_NUM@1 QUOTE@1 "
        "QUOTE@1 CELL_NUM@1 QUOTE@1"},
    READER_CASE{"comment_lines", "a\n/* x\n\ny */ b // c /* d\ne\n// f", "IDENT(a)@1 IDENT(b)@4 "
        "IDENT(e)@5"},
    READER_CASE{"comments_do_not_nest", "/**/a/*/ b /* // */c /*\0*/ d //\0 x\ne"sv,
        "IDENT(a)@1 IDENT(c)@1 IDENT(d)@1 IDENT(e)@2"},
    READER_CASE{"no_final_newline", "a\nb", "IDENT(a)@1 IDENT(b)@2"},
    READER_CASE{"ends_inside_a_comment", "a /* b\n", "IDENT(a)@1"}),
    case_name);

TEST_P(scanner_fatal, ends_the_run)
{
    const std::string out = stdout_file(GetParam().name);
    EXPECT_EXIT((stdout_to(out), lex_all(GetParam().input, true)), testing::ExitedWithCode(1),
                "^$");
    EXPECT_EQ(read_file(out), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(reader, scanner_fatal, testing::Values(
    READER_CASE{"minus", "a\n-1", "IDENT(a)@1\nunexpected character:\nLine: 2\n"},
    READER_CASE{"plus", "+1", "unexpected character:\nLine: 1\n"},
    // Carriage returns inside a comment are comment text.
    READER_CASE{"carriage_return", "/*\r\n*/a\r\n", "IDENT(a)@2\nunexpected character:\nLine: 2\n"},
    READER_CASE{"form_feed", "a\fb", "IDENT(a)@1\nunexpected character:\nLine: 1\n"},
    READER_CASE{"vertical_tab", "\n\va", "unexpected character:\nLine: 2\n"},
    READER_CASE{"nul", "a\0b"sv, "IDENT(a)@1\nunexpected character:\nLine: 1\n"},
    READER_CASE{"comment_closed_twice", "/* a */ b */", "IDENT(b)@1\nunexpected character:\n"
        "Line: 1\n"},
    READER_CASE{"lone_slash", "a / b", "IDENT(a)@1\nunexpected character:\nLine: 1\n"}),
    case_name);
INSTANTIATE_TEST_SUITE_P(high_bytes, scanner_fatal, testing::Values(
    READER_CASE{"byte_order_mark", "\xEF\xBB\xBF" "module", "unexpected character:\nLine: 1\n"},
    READER_CASE{"high_byte", "ab\xE9", "IDENT(ab)@1\nunexpected character:\nLine: 1\n"}),
    case_name);

TEST_P(parser_accepts, calls_the_builders)
{
    EXPECT_EQ(parse(GetParam().input), 0);
    EXPECT_EQ(joined(calls), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(reader, parser_accepts, testing::Values(
    READER_CASE{"inputs_last_first", "module top (a, b);\ninput a,\n  b, c\n;\noutput y; endmodule",
        "design_name(top)@1 insert_inputs(c)@4 insert_inputs(b)@4 insert_inputs(a)@4 "
        "insert_outputs(y)@5"},
    READER_CASE{"design_name_at_semicolon", "module\ntop\n(a)\n;\n\nendmodule",
        "design_name(top)@4"},
    READER_CASE{"ordered", "module m (a);\nINV g1 (a,\n((n)\n)\n)\n;\nendmodule",
        "design_name(m)@1 insert_port_list_by_order(a)@2 insert_port_list_by_order(n)@4 "
        "create_instance(INV,g1)@6"},
    READER_CASE{"named", "module m (a);\nBUF (.A(\n(s)\n),\n.Y(y\n)) ;\nendmodule",
        "design_name(m)@1 insert_port_list_by_name(A,s)@4 insert_port_list_by_name(Y,y)@6 "
        "create_instance(BUF,(empty))@6"},
    READER_CASE{"mixed_connections", "module m (a); INV g (.A(a), y); endmodule",
        "design_name(m)@1 insert_port_list_by_name(A,a)@1 insert_port_list_by_order(y)@1 "
        "create_instance(INV,g)@1"},
    READER_CASE{"wire_calls_nothing", "module m (a); wire (a), ((b)); wire c; endmodule",
        "design_name(m)@1"},
    READER_CASE{"body_in_any_order", "module m (a);;\nINV g (a, y);;\noutput y;\n;wire w;"
        "input a;;\nBUF h (y, z);\nendmodule // done\n/* tail */\n",
        "design_name(m)@1 insert_port_list_by_order(a)@2 insert_port_list_by_order(y)@2 "
        "create_instance(INV,g)@2 insert_outputs(y)@3 insert_inputs(a)@4 "
        "insert_port_list_by_order(y)@5 insert_port_list_by_order(z)@5 create_instance(BUF,h)@5"},
    READER_CASE{"name_starting_with_digits", "module 1m (1abc); INV 2g (1abc); endmodule",
        "design_name(1m)@1 insert_port_list_by_order(1abc)@1 create_instance(INV,2g)@1"},
    READER_CASE{"library",
        "{ \"information\": {\n"
        "  \" cell_num /* c */ \": \"2\", \"attribute_num\": \"3\n"
        "\", \"attributes\": [\"cell_name\", \"cell_type\",\n"
        "  \"data_6_f\"], \"cell_num\": \"1\" },\n"
        "  \"cells\": [ { \"cell_name\": \"INV\", \"cell_type\": \"not\",\n"
        "  \"data_6_f\": \"1.5\", \"k\": \"1e5\", \"n\": \"007\" }, {\"a\": \"2.\"\n"
        "} ] }",
        "lib_set_cell_num(2)@2 lib_set_attr_num(3)@3 lib_add_attr(cell_name)@3 "
        "lib_add_attr(cell_type)@3 lib_add_attr(data_6_f)@4 lib_set_cell_num(1)@4 "
        "lib_tmp_cell_insert_attr_s(cell_name,INV)@5 lib_tmp_cell_insert_attr_s(cell_type,not)@5 "
        "lib_tmp_cell_insert_attr_f(data_6_f,1.5)@6 lib_tmp_cell_insert_attr_s(k,1e5)@6 "
        "lib_tmp_cell_insert_attr_i(n,7)@6 lib_create_cell_from_tmp_cell()@6 "
        "lib_tmp_cell_insert_attr_f(a,2)@6 lib_create_cell_from_tmp_cell()@7"}),
    case_name);

TEST_P(parser_rejects, with_syntax_error)
{
    const std::string out = stdout_file(GetParam().name);
    EXPECT_EXIT((stdout_to(out), parse(GetParam().input)), testing::ExitedWithCode(1), "^$");
    EXPECT_EQ(read_file(out), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(reader, parser_rejects, testing::Values(
    READER_CASE{"empty", "", "syntax error\nLine: 1\n"},
    READER_CASE{"comment_only", "// nothing\n", "syntax error\nLine: 2\n"},
    READER_CASE{"no_port_names", "module m ();", "syntax error\nLine: 1\n"},
    READER_CASE{"no_endmodule", "module m (a);\n", "syntax error\nLine: 2\n"},
    READER_CASE{"no_connections", "module m (a);\nINV g1 ();", "syntax error\nLine: 2\n"},
    READER_CASE{"keyword_as_instance", "module m (a);\nINV cells (a);", "syntax error\nLine: 2\n"},
    READER_CASE{"keyword_as_net", "module m (a);\nINV g (\ninput);", "syntax error\nLine: 3\n"},
    READER_CASE{"digits_as_net", "module m (a);\nINV g (123);", "syntax error\nLine: 2\n"},
    READER_CASE{"parenthesised_input", "module m (a);\ninput (a);", "syntax error\nLine: 2\n"},
    READER_CASE{"trailing_comma_in_list", "module m (a);\ninput a,;", "syntax error\nLine: 2\n"},
    READER_CASE{"token_after_endmodule", "module m (a);\nendmodule\n\n;",
        "syntax error\nLine: 4\n"},
    READER_CASE{"unquoted_number", "{ \"information\": {\n\"cell_num\": 3",
        "syntax error\nLine: 2\n"},
    READER_CASE{"empty_attributes", "{ \"information\": { \"attributes\": [] }",
        "syntax error\nLine: 1\n"},
    READER_CASE{"comma_before_bracket", "{ \"information\": { \"attributes\": [\"a\",\n]",
        "syntax error\nLine: 2\n"},
    READER_CASE{"cells_first", "{ \"cells\": [", "syntax error\nLine: 1\n"},
    READER_CASE{"keyword_as_value",
        "{ \"information\": { \"cell_num\": \"1\" }, \"cells\": [ "
        "{ \"cell_name\": \"wire\"", "syntax error\nLine: 1\n"},
    READER_CASE{"empty_cell",
        "{ \"information\": { \"cell_num\": \"1\" }, \"cells\": [ "
        "{ }", "syntax error\nLine: 1\n"},
    READER_CASE{"token_after_library",
        "{ \"information\": { \"cell_num\": \"1\" }, \"cells\": [ "
        "{ \"a\": \"b\" } ] }\n}", "syntax error\nLine: 2\n"}),
    case_name);

TEST_F(reader, second_parse_reads_the_new_stream)
{
    ASSERT_EQ(parse("{ \"information\": { \"cell_num\": \"1\" },\n"
                    "\"cells\": [ { \"a\": \"b\" } ] }"), 0);
    ASSERT_EQ(parse("\n/* a\nb */ module m2 (a); endmodule"), 0);
    EXPECT_EQ(joined(calls), "lib_set_cell_num(1)@1 lib_tmp_cell_insert_attr_s(a,b)@2 "
                             "lib_create_cell_from_tmp_cell()@2 design_name(m2)@3");
}

TEST_F(reader, comment_left_open_continues_into_next_input)
{
    ASSERT_EQ(parse("module m1 (a); endmodule /* open"), 0);
    ASSERT_EQ(parse("module m2 (a); endmodule\n*/ module m3 (a);\nendmodule"), 0);
    EXPECT_EQ(joined(calls), "design_name(m1)@1 design_name(m3)@2");
}

TEST(scanner, counts_lines_up_to_int_max)
{
    EXPECT_EQ(lex_all("a\nb\n/*\n*/c\nd", false, 2147483646), "IDENT(a)@2147483646 "
              "IDENT(b)@2147483647 IDENT(c)@2147483647 IDENT(d)@2147483647");
}

// Built with LARGEST_DOUBLED_BUFFER at 1 MiB: 2 MiB less the two end marks.
TEST(scanner, ends_the_run_at_a_token_the_buffer_cannot_grow_for)
{
    const std::string longest((std::size_t{1} << 21) - 2, 'a');
    EXPECT_EQ(lex_all(longest + " b").substr(longest.size() + 7), "@1 IDENT(b)@1");
    EXPECT_EXIT(lex_all(longest + "a b"), testing::ExitedWithCode(2),
                "^Error: fatal error - scanner input buffer overflow\n$");
}

TEST_F(reader, accepts_a_list_of_100000_names)
{
    std::string text = "module m (a);\ninput n0";
    for (int i = 1; i < 100000; ++i)
        text += ", n" + std::to_string(i);
    ASSERT_EQ(parse(text + "\n;\nendmodule\n"), 0);
    ASSERT_EQ(calls.size(), 100001u);
    EXPECT_EQ(calls[1], "insert_inputs(n99999)@3");
    EXPECT_EQ(calls.back(), "insert_inputs(n0)@3");
}

TEST_F(reader, accepts_a_body_of_100000_instances)
{
    std::string text = "module m (a);\n";
    for (int i = 0; i < 100000; ++i)
        text += "INV g" + std::to_string(i) + " (a);\n";
    ASSERT_EQ(parse(text + "endmodule\n"), 0);
    ASSERT_EQ(calls.size(), 200001u);
    EXPECT_EQ(calls.back(), "create_instance(INV,g99999)@100001");
}

TEST_F(reader, accepts_a_net_nested_just_under_the_stack_limit)
{
    constexpr std::size_t depth = 4999980;
    ASSERT_EQ(parse("module m (a); INV g (" + std::string(depth, '(') + "a" +
                    std::string(depth, ')') + "); endmodule"), 0);
    EXPECT_EQ(joined(calls), "design_name(m)@1 insert_port_list_by_order(a)@1 "
                             "create_instance(INV,g)@1");
}

TEST_F(reader, stack_overflow_ends_the_run)
{
    const std::string out = stdout_file("stack_overflow");
    const std::string text = "module m (a); INV g (" + std::string(5000001, '(') + "a";
    EXPECT_EXIT((stdout_to(out), parse(text)), testing::ExitedWithCode(1), "^$");
    EXPECT_EQ(read_file(out), "yacc stack overflow\nLine: 1\n");
}

}  // namespace
