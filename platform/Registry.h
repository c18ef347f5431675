#pragma once
// The registry: HKCU, HKLM and HKCR hives kept as Windows ".reg" text files
// under <root>/registry. Key and value names compare without case and are
// stored as first written. Every change is made under an exclusive flock on
// the hive, written to a temporary file and renamed into place, so several
// processes can share a hive without losing writes; a reader reloads a hive
// whose file changed since it last looked.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace platform {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

inline constexpr Hive HKEY_CURRENT_USER = Hive::CurrentUser;
inline constexpr Hive HKEY_LOCAL_MACHINE = Hive::LocalMachine;
inline constexpr Hive HKEY_CLASSES_ROOT = Hive::ClassesRoot;

// An open key: a hive and a path below it ("Software\\Kavelin Ver 2.0").
// A closed key (default constructed, or after Close) fails every operation
// with ERROR_INVALID_HANDLE. Copying a key gives a second open handle to the
// same key. A key whose tree was deleted answers ERROR_KEY_DELETED.
class RegKey {
public:
    RegKey() = default;
    // The root of a hive, open.
    static RegKey Root(Hive hive);

    // Opens or creates subKey (may hold several "\\"-separated levels) below
    // parent and makes this object that key. An empty subKey opens parent.
    LONG Create(Hive parent, std::string_view subKey, REGSAM access = KEY_ALL_ACCESS);
    LONG Create(const RegKey& parent, std::string_view subKey, REGSAM access = KEY_ALL_ACCESS);
    // Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
    LONG Open(Hive parent, std::string_view subKey, REGSAM access = KEY_ALL_ACCESS);
    LONG Open(const RegKey& parent, std::string_view subKey, REGSAM access = KEY_ALL_ACCESS);
    LONG Close();

    bool IsOpen() const { return open_; }
    Hive hive() const { return hive_; }
    const std::string& path() const { return path_; }

    // Raw access, RegQueryValueEx style. data may be null to ask for the
    // size; a buffer too small gives ERROR_MORE_DATA with *size set to the
    // size needed. type may be null.
    LONG QueryValue(std::string_view name, DWORD* type, void* data, DWORD* size) const;
    LONG SetValue(std::string_view name, DWORD type, const void* data, DWORD size);

    // ERROR_INVALID_DATA when the value exists with another type.
    LONG QueryDWORDValue(std::string_view name, DWORD& value) const;
    LONG SetDWORDValue(std::string_view name, DWORD value);

    // Reads an REG_SZ or REG_EXPAND_SZ value into buf of *chars bytes (the
    // terminating zero counted). ERROR_MORE_DATA (and *chars = bytes needed)
    // when it does not fit; ERROR_INVALID_DATA for another type, and for a
    // text stored without its terminating zero (buf then holds "").
    LONG QueryStringValue(std::string_view name, char* buf, DWORD* chars) const;
    // Convenience: the whole text (stored terminating zero removed).
    LONG QueryStringValue(std::string_view name, std::string& value) const;
    // Writes the text with its terminating zero byte.
    LONG SetStringValue(std::string_view name, std::string_view value, DWORD type = REG_SZ);

    LONG QueryBinaryValue(std::string_view name, std::vector<BYTE>& value) const;
    LONG SetBinaryValue(std::string_view name, const void* data, DWORD size);

    LONG DeleteValue(std::string_view name);
    // Deletes a subkey that has no subkeys of its own.
    LONG DeleteSubKey(std::string_view subKey);
    // Deletes a subkey with everything below it.
    LONG RecurseDeleteKey(std::string_view subKey);

    // Enumeration in stored order; ERROR_NO_MORE_ITEMS past the end.
    LONG EnumKey(DWORD index, std::string& name) const;
    LONG EnumValue(DWORD index, std::string& name, DWORD* type = nullptr) const;
    LONG QueryInfoKey(DWORD* subKeys, DWORD* values) const;

    // The key's security descriptor, kept as an opaque blob.
    LONG GetKeySecurity(std::vector<BYTE>& descriptor) const;
    LONG SetKeySecurity(const std::vector<BYTE>& descriptor);

private:
    Hive hive_ = Hive::CurrentUser;
    std::string path_;
    bool open_ = false;
};

// Groups the registry changes made while it lives into one write per hive
// (one lock, one file replacement), for callers that store many values at
// once; the changes reach the file together or not at all. Everything read
// during the batch comes from one save of each hive: other processes'
// writes wait until it ends, and so do other threads' registry calls.
// Batches nest.
class RegistryBatch {
public:
    RegistryBatch();
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    // Ends the batch now (the outermost one saves its changes) and tells
    // whether every change made during it was stored: ERROR_SUCCESS, or the
    // first failure (a full disk, a lock that cannot be had). An inner
    // batch speaks for what is done so far; its outer batch saves later.
    LONG Commit();

private:
    bool open_ = true;
};

// Test hooks.
namespace registry_test {
// Create and Open of this key (and everything below it) fail with
// ERROR_ACCESS_DENIED until the denials are cleared.
void DenyPath(Hive hive, std::string_view path);
void ClearDenials();
// Replaces a hive with the keys and values of ".reg" text.
bool LoadHiveText(Hive hive, std::string_view regText);
// The hive as ".reg" text, as it is stored.
std::string DumpHive(Hive hive);
}  // namespace registry_test

}  // namespace platform
