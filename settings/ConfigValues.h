#pragma once
// Value tables of the registry configurators: each lists a client program's
// values as {name, field} rows in write order, and the loops below clear and
// write the fields, and back the values up and put them back exactly.

#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Writes in table order; a 0 or an empty text deletes the value instead.
template <class C>
void WriteOrDelete(platform::RegKey& key, const C& fields, Table<C> table) {
    for (const auto& row : table) {
        if (row.number) CCnfRegUtil::AddDWORDValue(key, row.name, fields.*(row.number));
        else CCnfRegUtil::AddStringValue(key, row.name, (fields.*(row.text)).c_str());
    }
}

// Makes the table's values under `to` exactly those under `from`: each one
// present there is copied with its type and bytes (zeros and empty texts
// included), each one missing there is deleted, so a backup and its restore
// give back exactly what the program had. A closed `from` holds none. False
// when a write fails.
template <class C>
bool CopyExact(const platform::RegKey& from, platform::RegKey& to, Table<C> table) {
    bool ok = true;
    for (const auto& row : table) {
        platform::DWORD type = platform::REG_NONE;
        platform::DWORD size = 0;
        std::vector<platform::BYTE> data;
        bool present = from.IsOpen() && from.QueryValue(row.name, &type, nullptr, &size) == platform::ERROR_SUCCESS;
        if (present) {
            data.resize(size);
            present = from.QueryValue(row.name, &type, data.data(), &size) == platform::ERROR_SUCCESS;
        }
        if (present) {
            ok &= to.SetValue(row.name, type, data.data(), size) == platform::ERROR_SUCCESS;
        } else {
            const platform::LONG deleted = to.DeleteValue(row.name);
            ok &= deleted == platform::ERROR_SUCCESS || deleted == platform::ERROR_FILE_NOT_FOUND;
        }
    }
    return ok;
}

// Backs the table's values of HKCU\\clientPath up exactly into
// HKCU\\backupPath (made when missing), in one registry save: a program
// without its key backs up as holding none. False when the backup cannot be
// stored.
template <class C>
bool BackUpValues(std::string_view clientPath, std::string_view backupPath, Table<C> table) {
    platform::RegistryBatch batch;
    platform::RegKey client;
    client.Open(platform::HKEY_CURRENT_USER, clientPath, platform::KEY_READ);
    platform::RegKey backup;
    const bool copied = backup.Create(platform::HKEY_CURRENT_USER, backupPath) == platform::ERROR_SUCCESS &&
                        CopyExact(client, backup, table);
    return batch.Commit() == platform::ERROR_SUCCESS && copied;
}

// Puts the backup of HKCU\\backupPath back exactly into HKCU\\clientPath, in
// one registry save. Without a backup, or without the program's key (it was
// removed), there is nothing to put back: true, and nothing changes. False
// when the restore cannot be stored.
template <class C>
bool RestoreValues(std::string_view backupPath, std::string_view clientPath, Table<C> table) {
    platform::RegistryBatch batch;
    platform::RegKey backup;
    platform::RegKey client;
    if (backup.Open(platform::HKEY_CURRENT_USER, backupPath, platform::KEY_READ) != platform::ERROR_SUCCESS ||
        client.Open(platform::HKEY_CURRENT_USER, clientPath) != platform::ERROR_SUCCESS) {
        return batch.Commit() == platform::ERROR_SUCCESS;
    }
    const bool copied = CopyExact(backup, client, table);
    return batch.Commit() == platform::ERROR_SUCCESS && copied;
}

}  // namespace configvalues
