// Attribute-key mapping: the library file stores each numeric attribute under
// "data_<index>_<type letter>"; this unit ties those keys to the internal names.
#pragma once
#include <map>
#include <string>

// Internal attribute name to its fixed index.
extern std::map<std::string, int> _attrs_map;
// Internal name to file key (plus "cell_type" to itself).
extern std::map<std::string, std::string> attr_enc;
// File key to internal name; the inverse of attr_enc.
extern std::map<std::string, std::string> attr_dec;

void init_mapping();
// Sets attr_a ... attr_maxc from attr_enc; init_mapping must have run.
void encode_lib();
