// Module-name constraint encoding: encode/decode, the number test and the
// decoding of design_name into the three constraints.
#include "design.h"
#include "encode.h"

#include <gtest/gtest.h>

#include <cfloat>

#include <string>

namespace {

std::string repeat(const std::string& piece, int times)
{
    return times > 0 ? piece + repeat(piece, times - 1) : "";
}

// A module name of `size` bytes: a long free token, then the encoded text.
std::string padded_name(std::size_t size, const std::string& text)
{
    const std::string encoded = encode(text);
    return std::string(size - 1 - encoded.size(), 'x') + "_" + encoded;
}

template <typename CASE>
    requires requires(const CASE& c) { c.name; }
void PrintTo(const CASE& c, std::ostream* os) { *os << c.name; }
constexpr auto case_name = [](const auto& info) { return std::string(info.param.name); };
constexpr const char* too_long = "^Error: string too long\n$";
constexpr const char* name_error = "^Error: module name error\n$";

struct ENCODE_CASE { const char* name; std::string text, encoded; };
class encode_round_trip : public testing::TestWithParam<ENCODE_CASE> {};
TEST_P(encode_round_trip, encodes_and_decodes_back)
{
    const ENCODE_CASE& c = GetParam();
    EXPECT_EQ(encode(c.text), c.encoded);
    EXPECT_EQ(decode(c.encoded, 0), c.text);
    EXPECT_EQ(decode("top9_" + c.encoded, 1), c.text);
}
INSTANTIATE_TEST_SUITE_P(encode, encode_round_trip, testing::Values(
    ENCODE_CASE{"constraints", "10_500_2.5", "901502648_851170999_6085557"},
    ENCODE_CASE{"four_bytes_no_padding_group", "abcd", "1690306792"},
    // The fifth byte is padded with three zero bytes into a second number.
    ENCODE_CASE{"five_bytes", "abcde", "1690306792_6072044"},
    ENCODE_CASE{"empty", "", ""},
    ENCODE_CASE{"offset_wraps_to_negative", "\xff\xff\xff\x7f", "-2141411706"},
    ENCODE_CASE{"negative_word", "\xff\xff\xff\xff", "6071942"},
    ENCODE_CASE{"128_bytes_32_numbers", repeat("abcd", 32),
                "1690306792" + repeat("_1690306792", 31)}), case_name);

TEST(encode, refuses_129_bytes_and_decode_513)
{
    EXPECT_EXIT(encode(std::string(129, 'q')), testing::ExitedWithCode(1), too_long);
    EXPECT_EXIT(decode(padded_name(513, "1_2_3"), 1), testing::ExitedWithCode(1), too_long);
}

struct DECODE_CASE { const char* name; std::string encoded; int skip; std::string text; };
class decode_split : public testing::TestWithParam<DECODE_CASE> {};
TEST_P(decode_split, gives_the_text)
{
    EXPECT_EQ(decode(GetParam().encoded, GetParam().skip), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(decode, decode_split, testing::Values(
    DECODE_CASE{"final_underscore_ignored", "1690306792_6072044_", 0, "abcde"},
    DECODE_CASE{"leading_underscore_is_empty_first_token", "_1690306792", 1, "abcd"},
    DECODE_CASE{"no_underscore_gives_nothing", "top", 1, ""},
    DECODE_CASE{"empty", "", 0, ""},
    DECODE_CASE{"rest_after_digits_ignored", "1690306792xyz", 0, "abcd"},
    DECODE_CASE{"blank_and_plus_before_digits", " +1690306792", 0, "abcd"},
    DECODE_CASE{"512_bytes", padded_name(512, "1_2_3"), 1, "1_2_3"},
    // 135 decodes to a word whose first byte is zero: the text ends there.
    DECODE_CASE{"64_numbers_with_zero_byte", repeat("_135", 64), 1, ""},
    // 1 decodes to a word without zero bytes; 63 leave room for the end.
    DECODE_CASE{"63_numbers_without_zero_byte", repeat("_1", 63), 1,
                repeat(decode("1", 0), 63)}), case_name);

struct DOUBLE_CASE { const char* name; bool accepted; };
class is_double_table : public testing::TestWithParam<DOUBLE_CASE> {};
TEST_P(is_double_table, judges_the_whole_token)
{
    EXPECT_EQ(is_double(GetParam().name), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(is_double, is_double_table, testing::Values(
    DOUBLE_CASE{"5", true}, DOUBLE_CASE{"5.", true}, DOUBLE_CASE{".5", true},
    DOUBLE_CASE{"0.25", true}, DOUBLE_CASE{"-1", true}, DOUBLE_CASE{"+2e3", true},
    DOUBLE_CASE{"1E-5", true}, DOUBLE_CASE{"", false}, DOUBLE_CASE{" 1", false},
    DOUBLE_CASE{"1 ", false}, DOUBLE_CASE{"1.5x", false}, DOUBLE_CASE{"1e", false},
    DOUBLE_CASE{"1.2.3", false}, DOUBLE_CASE{"0x10", false}, DOUBLE_CASE{"inf", false},
    DOUBLE_CASE{"nan", false}, DOUBLE_CASE{"1e400", false}, DOUBLE_CASE{".", false}));

struct CONSTRAINT_CASE { const char* name; const char* text; double clock, area, power; };
class constraints : public testing::TestWithParam<CONSTRAINT_CASE> {};
TEST_P(constraints, are_stored_at_single_precision)
{
    const CONSTRAINT_CASE& c = GetParam();
    design_name = std::string("top_") + encode(c.text);
    parse_design_name();
    EXPECT_EQ(clock_period, c.clock);
    EXPECT_EQ(area_constraint, c.area);
    EXPECT_EQ(power_constraint, c.power);
}
INSTANTIATE_TEST_SUITE_P(parse_design_name, constraints, testing::Values(
    CONSTRAINT_CASE{"single_precision", "0.1_2.5_10", static_cast<double>(0.1f), 2.5, 10.0},
    CONSTRAINT_CASE{"final_underscore", "1_2_3_", 1.0, 2.0, 3.0},
    CONSTRAINT_CASE{"sign_point_exponent", "-1_.5_2e3", -1.0, 0.5, 2000.0},
    CONSTRAINT_CASE{"zero_with_exponent", "0e-400_-0.0_0", 0.0, -0.0, 0.0},
    CONSTRAINT_CASE{"largest_single_exactly",
                    "340282346638528859811704183484516925440_-3.4028234663852885981170418348451692544e38_1",
                    FLT_MAX, -FLT_MAX, 1.0},
    CONSTRAINT_CASE{"smallest_normal_exactly", "1_1_1.17549435082228750796873653722224567781866"
                    "55567720875215087517062784172594547271728515625e-38", 1.0, 1.0, FLT_MIN}),
    case_name);

struct NAME_ERROR_CASE { const char* name; std::string design_name; };
class bad_design_name : public testing::TestWithParam<NAME_ERROR_CASE> {};
TEST_P(bad_design_name, is_a_module_name_error)
{
    design_name = GetParam().design_name;
    EXPECT_EXIT(parse_design_name(), testing::ExitedWithCode(1), name_error);
}
INSTANTIATE_TEST_SUITE_P(parse_design_name, bad_design_name, testing::Values(
    NAME_ERROR_CASE{"no_underscore", "top"},
    NAME_ERROR_CASE{"two_values", "top_" + encode("1_2")},
    NAME_ERROR_CASE{"four_values", "top_" + encode("1_2_3_4")},
    NAME_ERROR_CASE{"leading_underscore_in_text", "top_" + encode("_1_2_3")},
    NAME_ERROR_CASE{"empty_number_token", "top__" + encode("1_2_3")},
    NAME_ERROR_CASE{"letters_as_number_token", "top_x_" + encode("1_2_3")},
    NAME_ERROR_CASE{"number_above_int32", "top_2147483648"},
    NAME_ERROR_CASE{"number_below_int32", "top_-2147483649"},
    NAME_ERROR_CASE{"65_numbers", "top" + repeat("_135", 65)},
    // No room left in the buffer for the text's terminating zero byte.
    NAME_ERROR_CASE{"64_numbers_without_zero_byte", "top" + repeat("_1", 64)},
    NAME_ERROR_CASE{"above_single_precision", "top_" + encode("1e39_1_1")},
    NAME_ERROR_CASE{"below_single_precision_normal", "top_" + encode("1_1e-39_1")},
    // Each of these converts onto the largest float or the smallest normal one.
    NAME_ERROR_CASE{"above_largest_single_written", "top_" + encode("-3.4028235e38_1_1")},
    NAME_ERROR_CASE{"shortest_double_form_of_largest_single",
                    "top_" + encode("1_3.4028234663852886e38_1")},
    NAME_ERROR_CASE{"last_digit_above_largest_single",
                    "top_" + encode("1_1_340282346638528859811704183484516925440.000001")},
    NAME_ERROR_CASE{"below_smallest_normal_written", "top_" + encode("1.17549433e-38_1_1")},
    NAME_ERROR_CASE{"last_digit_below_smallest_normal",
                    "top_" + encode("1_0.117549435082228750796873653722224567781866555677208752"
                                    "15087517062784172594547271728515624e-37_1")},
    // Written non-zero, though double precision already rounds it to zero.
    NAME_ERROR_CASE{"below_double_precision", "top_" + encode("1_1_1e-400")}),
    case_name);

} // namespace
