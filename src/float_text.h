// The value of a FLOAT token's text (digits and points).
#pragma once

// What std::strtod gives for `text`, bit for bit, without its cost for the
// usual short values.
double float_value(const char* text);
