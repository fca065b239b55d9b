// Design-name constraint encoding.
#include "encode.h"

#include "design.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

double clock_period = -1.0;
double area_constraint = -1.0;
double power_constraint = -1.0;

namespace {

constexpr std::uint32_t encoding_offset = 6071943;
constexpr std::size_t max_encode_length = 128;
constexpr std::size_t max_decode_length = 512;
constexpr std::size_t decode_words = 64;

[[noreturn]] void string_too_long()
{
    std::fputs("Error: string too long\n", stderr);
    std::exit(1);
}

// Cuts at every underscore; only a final empty token is dropped.
std::vector<std::string> split_at_underscores(const std::string& text)
{
    std::vector<std::string> tokens;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('_', start);
        if (end == std::string::npos) {
            tokens.push_back(text.substr(start));
            break;
        }
        tokens.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a base-10 int from the token's start (white space and a sign allowed,
// the rest after the digits ignored); a token without digits or out of the
// 32-bit range is a malformed module name.
std::int32_t read_group_number(const std::string& token)
{
    std::size_t i = 0;
    while (i < token.size() && is_space(token[i]))
        ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        negative = token[i++] == '-';
    if (i >= token.size() || !is_digit(token[i]))
        uti_error("module name error\n");
    std::int64_t value = 0;
    for (; i < token.size() && is_digit(token[i]); ++i) {
        value = value * 10 + (token[i] - '0');
        if (value > std::int64_t{INT32_MAX} + 1)
            uti_error("module name error\n");
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        uti_error("module name error\n");
    return static_cast<std::int32_t>(value);
}

// A decimal magnitude d1.d2d3... times 10 to the exponent: digits without
// leading or trailing zeros, none for zero.
struct DECIMAL {
    std::string digits;
    long exponent = 0;
};

// The magnitude of a token that is_double accepted, exactly as written.
DECIMAL written_magnitude(const std::string& token)
{
    std::size_t i = 0;
    if (token[i] == '+' || token[i] == '-')
        ++i;
    std::string mantissa;
    long before_point = -1;
    for (; i < token.size() && token[i] != 'e' && token[i] != 'E'; ++i) {
        if (token[i] == '.')
            before_point = static_cast<long>(mantissa.size());
        else
            mantissa += token[i];
    }
    if (before_point < 0)
        before_point = static_cast<long>(mantissa.size());
    // The written exponent, held at a bound far beyond both edges so that
    // no digit count can carry a number back between them.
    constexpr long exponent_bound = 100000;
    long exponent = 0;
    bool negative = false;
    if (i < token.size()) {
        ++i;
        if (token[i] == '+' || token[i] == '-')
            negative = token[i++] == '-';
        for (; i < token.size(); ++i)
            exponent = std::min(exponent * 10 + (token[i] - '0'), exponent_bound);
    }
    DECIMAL magnitude;
    const std::size_t first = mantissa.find_first_not_of('0');
    if (first == std::string::npos)
        return magnitude;
    magnitude.digits = mantissa.substr(first, mantissa.find_last_not_of('0') + 1 - first);
    magnitude.exponent =
        before_point - static_cast<long>(first) - 1 + (negative ? -exponent : exponent);
    return magnitude;
}

// The exact decimal of a float, worked out by the compiler: a float has
// at most 112 significant decimal digits (a 24-bit integer times 5^149).
struct EXACT_DECIMAL {
    std::array<char, 120> digits{};
    std::size_t length = 0;
    long exponent = 0;
    constexpr std::string_view text() const { return {digits.data(), length}; }
};

// Multiplies the digits, least significant first, by a small factor.
constexpr void multiply(EXACT_DECIMAL& number, int factor)
{
    int carry = 0;
    for (std::size_t k = 0; k < number.length; ++k) {
        const int product = number.digits[k] * factor + carry;
        number.digits[k] = static_cast<char>(product % 10);
        carry = product / 10;
    }
    for (; carry > 0; carry /= 10)
        number.digits[number.length++] = static_cast<char>(carry % 10);
}

// A positive finite float is m * 2^e with m an integer: m doubled e times,
// or m times 5^-e and scaled by 10^e.
constexpr EXACT_DECIMAL exact_decimal(float value)
{
    constexpr int fraction_bits = FLT_MANT_DIG - 1;
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const int biased = static_cast<int>(bits >> fraction_bits);
    std::uint32_t m = bits & ((std::uint32_t{1} << fraction_bits) - 1);
    if (biased != 0)
        m |= std::uint32_t{1} << fraction_bits;
    const int e = (biased != 0 ? biased : 1) - (FLT_MAX_EXP - 1) - fraction_bits;
    EXACT_DECIMAL exact;
    for (; m > 0; m /= 10)
        exact.digits[exact.length++] = static_cast<char>(m % 10);
    for (int k = 0; k < (e < 0 ? -e : e); ++k)
        multiply(exact, e < 0 ? 5 : 2);
    exact.exponent = static_cast<long>(exact.length) - 1 + (e < 0 ? e : 0);
    std::size_t zeros = 0;
    while (exact.digits[zeros] == 0)
        ++zeros;
    std::reverse(exact.digits.begin(), exact.digits.begin() + exact.length);
    exact.length -= zeros;
    for (std::size_t k = 0; k < exact.length; ++k)
        exact.digits[k] = static_cast<char>('0' + exact.digits[k]);
    return exact;
}

constexpr EXACT_DECIMAL largest_single = exact_decimal(FLT_MAX);
constexpr EXACT_DECIMAL smallest_normal_single = exact_decimal(FLT_MIN);

// Below zero, zero or above zero as a is below, equal to or above b (both
// non-zero): with leading digits non-zero, the exponent decides first and
// the digits then compare as text.
int compare(const DECIMAL& a, const EXACT_DECIMAL& b)
{
    if (a.exponent != b.exponent)
        return a.exponent < b.exponent ? -1 : 1;
    return std::string_view(a.digits).compare(b.text());
}

// Reads a token that is_double accepted at single precision; a value that
// single precision cannot hold is a malformed module name.
double read_constraint(const std::string& token)
{
    // Exact range check: the written digits against the exact decimals of FLT_MAX and FLT_MIN.
    const DECIMAL written = written_magnitude(token);
    if (!written.digits.empty() && (compare(written, largest_single) > 0 ||
                                    compare(written, smallest_normal_single) < 0))
        uti_error("module name error\n");
    return static_cast<double>(std::strtof(token.c_str(), nullptr));
}

} // namespace

std::string encode(const std::string& text)
{
    if (text.size() > max_encode_length)
        string_too_long();
    unsigned char buffer[256] = {};
    std::memcpy(buffer, text.data(), text.size());
    std::string result;
    for (std::size_t j = 0; j < max_encode_length / 4 + 1; ++j) {
        std::uint32_t word = 0;
        for (int b = 3; b >= 0; --b)
            word = (word << 8) | buffer[4 * j + b];
        if (word == 0)
            break;
        if (!result.empty())
            result += '_';
        result += std::to_string(static_cast<std::int32_t>(word + encoding_offset));
    }
    return result;
}

std::string decode(const std::string& encoded, int skip)
{
    if (encoded.size() > max_decode_length)
        string_too_long();
    unsigned char buffer[decode_words * 4] = {};
    const std::vector<std::string> tokens = split_at_underscores(encoded);
    const std::size_t first = skip > 0 ? static_cast<std::size_t>(skip) : 0;
    std::size_t k = 0;
    for (std::size_t t = first; t < tokens.size(); ++t, ++k) {
        if (k >= decode_words)
            uti_error("module name error\n");
        const std::uint32_t word =
            static_cast<std::uint32_t>(read_group_number(tokens[t])) - encoding_offset;
        for (int b = 0; b < 4; ++b)
            buffer[4 * k + b] = static_cast<unsigned char>(word >> (8 * b));
    }
    // The text needs its terminating zero byte inside the buffer.
    const void* end = std::memchr(buffer, 0, sizeof buffer);
    if (!end)
        uti_error("module name error\n");
    return std::string(reinterpret_cast<const char*>(buffer),
                       static_cast<const unsigned char*>(end) - buffer);
}

bool is_double(const std::string& token)
{
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < token.size() && is_digit(token[i]); ++i)
        ++digits;
    if (i < token.size() && token[i] == '.')
        for (++i; i < token.size() && is_digit(token[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            ++i;
        if (i >= token.size() || !is_digit(token[i]))
            return false;
        while (i < token.size() && is_digit(token[i]))
            ++i;
    }
    if (i != token.size())
        return false;
    errno = 0;
    const double value = std::strtod(token.c_str(), nullptr);
    return !(errno == ERANGE && std::isinf(value));
}

void parse_design_name()
{
    const std::string text = decode(design_name, 1);
    int count = 0;
    for (const std::string& token : split_at_underscores(text)) {
        if (!is_double(token))
            uti_error("module name error\n");
        const double value = read_constraint(token);
        count += 1;
        if (count == 1)
            clock_period = value;
        else if (count == 2)
            area_constraint = value;
        else if (count == 3)
            power_constraint = value;
    }
    if (count != 3)
        uti_error("module name error\n");
}
