#pragma once
// Value tables of the registry configurators: each lists a client program's
// values as {name, field} rows in write order, and the loops below clear,
// read and write them.

#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/Types.h"
#include "settings/CCnfRegUtil.h"

namespace configvalues {

// A text field holds at most this many characters (a 260-byte buffer with
// its terminating zero); longer texts given to a configurator are refused.
inline constexpr std::size_t kTextLimit = 259;
// Reads use a buffer of this many bytes, terminating zero included.
inline constexpr std::size_t kReadBuffer = 259;

template <class C>
struct Value {
    const char* name;
    platform::DWORD C::*number;  // null for a text
    std::string C::*text;        // null for a number
};

template <class C>
using Table = std::span<const Value<C>>;

inline bool FitsField(const char* text) { return !text || std::strlen(text) <= kTextLimit; }

template <class C>
void Clear(C& fields, Table<C> table) {
    for (const auto& row : table) {
        if (row.number) fields.*(row.number) = 0;
        else (fields.*(row.text)).clear();
    }
}

// Reads every value that is present with the right type (and, for texts,
// fits the read buffer); a field whose value is missing keeps what it held.
template <class C>
void Read(const platform::RegKey& key, C& fields, Table<C> table, std::size_t textBuffer = kReadBuffer) {
    for (const auto& row : table) {
        if (row.number) {
            platform::DWORD value = 0;
            if (key.QueryDWORDValue(row.name, value) == platform::ERROR_SUCCESS) fields.*(row.number) = value;
            continue;
        }
        std::string value;
        if (key.QueryStringValue(row.name, value) == platform::ERROR_SUCCESS && value.size() < textBuffer) {
            fields.*(row.text) = value;
        }
    }
}

// Clears the fields, then reads those present under HKCU\path; a key that
// cannot be opened leaves them cleared, so nothing of an earlier call stays.
template <class C>
void ClearAndRead(std::string_view path, C& fields, Table<C> table) {
    Clear(fields, table);
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, path, platform::KEY_READ) == platform::ERROR_SUCCESS) {
        Read(key, fields, table);
    }
}

// Writes in table order; a 0 or an empty text deletes the value instead.
template <class C>
void WriteOrDelete(platform::RegKey& key, const C& fields, Table<C> table) {
    for (const auto& row : table) {
        if (row.number) CCnfRegUtil::AddDWORDValue(key, row.name, fields.*(row.number));
        else CCnfRegUtil::AddStringValue(key, row.name, (fields.*(row.text)).c_str());
    }
}

// Writes every value in table order, zeros and empty texts included. False
// when a write fails (the values before it stay written).
template <class C>
bool WriteAll(platform::RegKey& key, const C& fields, Table<C> table) {
    for (const auto& row : table) {
        const platform::LONG result = row.number ? key.SetDWORDValue(row.name, fields.*(row.number))
                                                 : key.SetStringValue(row.name, fields.*(row.text));
        if (result != platform::ERROR_SUCCESS) return false;
    }
    return true;
}

}  // namespace configvalues
