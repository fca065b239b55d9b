// Design-name constraints: the module name carries the clock period, area
// limit and power limit as underscore-separated integers, one per 4-byte
// group of the text "<period>_<area>_<power>".
#pragma once
#include <string>

// Decoded constraints; -1.0 until parse_design_name sets them.
extern double clock_period;
extern double area_constraint;
extern double power_constraint;

// Encodes a text of at most 128 bytes; a longer one ends the run.
std::string encode(const std::string& text);
// Decodes `encoded` after passing over its first `skip` tokens; a string over
// 512 bytes or numbers that cannot be decoded end the run.
std::string decode(const std::string& encoded, int skip);
// True when the whole token is one decimal floating-point number.
bool is_double(const std::string& token);
// Decodes design_name into the three constraints or ends the run.
void parse_design_name();
