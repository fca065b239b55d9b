// Attribute-key mapping.
#include "map.h"

#include "design.h"

std::map<std::string, int> _attrs_map;
std::map<std::string, std::string> attr_enc;
std::map<std::string, std::string> attr_dec;

void init_mapping()
{
    _attrs_map["a_f"] = 1;
    _attrs_map["b_f"] = 2;
    _attrs_map["pd_i"] = 3;
    _attrs_map["cell_leakage_power_f"] = 4;
    _attrs_map["capacitance_f"] = 5;
    _attrs_map["area_f"] = 6;
    _attrs_map["max_capacitance_f"] = 7;
    for (const auto& [name, index] : _attrs_map) {
        const std::string key = "data_" + std::to_string(index) + "_" + name.back();
        attr_enc[name] = key;
        attr_dec[key] = name;
    }
    attr_enc["cell_type"] = "cell_type";
    attr_dec["cell_type"] = "cell_type";
}

void encode_lib()
{
    attr_cap = attr_enc["capacitance_f"];
    attr_pd = attr_enc["pd_i"];
    attr_leak = attr_enc["cell_leakage_power_f"];
    attr_area = attr_enc["area_f"];
    attr_maxc = attr_enc["max_capacitance_f"];
    attr_a = attr_enc["a_f"];
    attr_b = attr_enc["b_f"];
}
