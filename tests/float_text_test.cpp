// A FLOAT token's value is strtod's to the last bit, on either path.
#include "float_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

bool same_bits_as_strtod(const std::string& text)
{
    const double fast = float_value(text.c_str()), slow = std::strtod(text.c_str(), nullptr);
    return std::memcmp(&fast, &slow, sizeof fast) == 0;
}

TEST(float_text, gives_strtod_bits)
{
    for (const char* token : {"0.60000", "0.1", "0.3", "5.", ".5", ".", "..", "1.2.3", "1..2",
             "00000.00000", "000000000000000000000000.1", "9007199254740992.", "9007199254740993.",
             "9007199254740992.0", "900719925474099.3", "0.9007199254740993", "1234567890.123456789",
             "12345678901234567890.", "0.12345678901234567891", "123456789012345678901234.5",
             "0.0000000000000000000001", "0.00000000000000000000001", "1.0000000000000000000000",
             "10000000000000000000000.", "9999999999999999999999.9", "1.7976931348623157",
             "0.000000000000000000000000000000000000000000000000000000000000000000000000000001"})
        EXPECT_TRUE(same_bits_as_strtod(token)) << token;
    // Tokens of every shape the scanner passes: digits, zeros weighted, and one or two points.
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 300000; ++i) {
        std::string token(1 + random() % 26, '0');
        for (char& digit : token)
            digit = "0000001234567890"[random() % 16];
        for (int points = random() % 8 ? 1 : 2; points > 0; --points)
            token.insert(random() % (token.size() + 1), 1, '.');
        EXPECT_TRUE(same_bits_as_strtod(token)) << token;
    }
}

} // namespace
