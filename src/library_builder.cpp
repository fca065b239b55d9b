// Library builder: the information section's counts and names, and each
// cell, read into tmp_cell and committed into lib at its closing brace.
#include "design.h"

#include <utility>

namespace {

// Insert-on-lookup, without making a text of the key when the entry is there.
const std::string& text_attr(CELL& cell, std::string_view key)
{
    auto entry = cell.attrs.lower_bound(key);
    if (entry == cell.attrs.end() || entry->first != key)
        entry = cell.attrs.emplace_hint(entry, key, LIB_ATTR());
    return entry->second.sval;
}

} // namespace

void lib_rst()
{
    lib.reset();
    tmp_cell.attrs.clear();
}

void lib_set_cell_num(int count)
{
    lib.cell_num = count;
}

void lib_set_attr_num(int count)
{
    lib.attr_num = count;
}

void lib_add_attr(std::string_view name)
{
    lib.attributes.emplace_back(name);
}

namespace {

// Stores the whole value under the key. A cell object's keys usually come in
// map order, so the end is tried first as the place of a new entry.
void store(std::string_view key, const LIB_ATTR& attr)
{
    auto& attrs = tmp_cell.attrs;
    const std::size_t entries = attrs.size();
    const auto entry = attrs.emplace_hint(attrs.end(), key, attr);
    if (attrs.size() == entries)  // the key was there: overwrite all three members
        entry->second = attr;
}

} // namespace

// Each setter keeps its own working value whose other members are never
// written, so every stored entry carries exactly one set member.
void lib_tmp_cell_insert_attr_i(std::string_view key, int value)
{
    static LIB_ATTR attr;
    attr.ival = value;
    store(key, attr);
}

void lib_tmp_cell_insert_attr_f(std::string_view key, double value)
{
    static LIB_ATTR attr;
    attr.fval = value;
    store(key, attr);
}

void lib_tmp_cell_insert_attr_s(std::string_view key, std::string_view value)
{
    static LIB_ATTR attr;
    attr.sval = value;
    store(key, attr);
}

// The finished cell moves into the library: what it holds there is what a
// copy would hold, and tmp_cell is left empty for the next object.
void lib_create_cell_from_tmp_cell()
{
    const std::string name = text_attr(tmp_cell, "cell_name");
    const auto place = lib.cells.lower_bound(name);
    if (place != lib.cells.end() && place->first == name)
        uti_error_at("Cell '%s' already exists\n", name.c_str());
    const std::string& type = text_attr(tmp_cell, "cell_type");
    tmp_cell.input_num = (type == "buf" || type == "not") ? 1 : 2;
    lib.cells.emplace_hint(place, name, std::move(tmp_cell));
    tmp_cell.attrs.clear();
}
