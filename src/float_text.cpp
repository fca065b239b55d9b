// The value of a FLOAT token's text.
#include "float_text.h"

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <limits>

// One IEEE operation in double precision rounds correctly only without
// wider intermediates.
static_assert(std::numeric_limits<double>::is_iec559 && FLT_EVAL_METHOD == 0);

namespace {

// The powers of ten that a double holds exactly.
constexpr double exact_powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int largest_exact_power = 22;
// Integers up to 2^53 are exact as doubles; 19 digits always fit 64 bits.
constexpr std::uint64_t largest_exact_integer = std::uint64_t{1} << 53;
constexpr int most_digits = 19;

} // namespace

// strtod reads the longest prefix of digits, one point, digits. When that
// prefix has few enough significant digits, its value is an exact integer
// over an exact power of ten, and the one division rounds it as strtod does.
// Anything else (long, or far below 1) goes to strtod itself.
double float_value(const char* text)
{
    std::uint64_t digits = 0;
    int significant = 0;  // digits from the first nonzero one on
    int scale = 0;        // digits after the point
    bool point = false;
    for (const char* at = text;; ++at) {
        const char c = *at;
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        if (significant == most_digits || scale == largest_exact_power)
            return std::strtod(text, nullptr);
        digits = digits * 10 + static_cast<unsigned>(c - '0');
        significant += digits != 0;
        scale += point;
    }
    if (digits > largest_exact_integer)
        return std::strtod(text, nullptr);
    return static_cast<double>(digits) / exact_powers_of_ten[scale];
}
