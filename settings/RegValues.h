#pragma once
// Value tables of the settings sections: each section lists its numbers as
// {value name, field} rows in write order, and one loop reads or writes them.

#include <cstddef>
#include <string_view>

#include "platform/Registry.h"
#include "platform/Types.h"

namespace regvalues {

template <class Section>
struct DwordValue {
    const char* name;
    platform::DWORD Section::*field;
};

// Leaves field alone when the value is missing or not a REG_DWORD.
inline void ReadDWORD(const platform::RegKey& key, std::string_view name, platform::DWORD& field) {
    platform::DWORD value = 0;
    if (key.QueryDWORDValue(name, value) == platform::ERROR_SUCCESS) field = value;
}

// The sections whose numbers must all be present signal a missing one by
// throwing bool; CSettings catches it.
inline void RequireDWORD(const platform::RegKey& key, std::string_view name, platform::DWORD& field) {
    platform::DWORD value = 0;
    if (key.QueryDWORDValue(name, value) != platform::ERROR_SUCCESS) throw false;
    field = value;
}

template <class Section, std::size_t N>
void WriteDWORDs(platform::RegKey& key, const Section& section, const DwordValue<Section> (&table)[N]) {
    for (const auto& row : table) key.SetDWORDValue(row.name, section.*(row.field));
}

template <class Section, std::size_t N>
void ReadDWORDs(const platform::RegKey& key, Section& section, const DwordValue<Section> (&table)[N]) {
    for (const auto& row : table) ReadDWORD(key, row.name, section.*(row.field));
}

template <class Section, std::size_t N>
void RequireDWORDs(const platform::RegKey& key, Section& section, const DwordValue<Section> (&table)[N]) {
    for (const auto& row : table) RequireDWORD(key, row.name, section.*(row.field));
}

}  // namespace regvalues
