#pragma once
// Registry keys shared by the client-program configurators.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace configkeys {

// Where the configurators keep the client programs' own values (HKCU).
inline constexpr const char* kBackUp = "Software\\Kavelin Ver 2.0\\Auto\\BackUp";
// Installed programs' uninstall entries (HKLM), one subkey per program.
inline constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The "UninstallString" of HKLM\subKey when it is a text that fits, with its
// terminating zero, in bufferBytes.
inline std::optional<std::string> UninstallString(std::string_view subKey, std::size_t bufferBytes) {
    platform::RegKey key;
    if (key.Open(platform::HKEY_LOCAL_MACHINE, subKey, platform::KEY_READ) != platform::ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string text;
    if (key.QueryStringValue("UninstallString", text) != platform::ERROR_SUCCESS || text.size() >= bufferBytes) {
        return std::nullopt;
    }
    return text;
}

// Flags kept by the configurators (marks, notes): a REG_DWORD 1 named name
// under HKCU\path while set, no such value while clear.
inline bool IsFlagSet(std::string_view path, std::string_view name) {
    platform::RegKey key;
    platform::DWORD value = 0;
    return key.Open(platform::HKEY_CURRENT_USER, path, platform::KEY_READ) == platform::ERROR_SUCCESS &&
           key.QueryDWORDValue(name, value) == platform::ERROR_SUCCESS && value != 0;
}

// False when the flag cannot be stored.
inline bool SetFlag(std::string_view path, std::string_view name, bool set) {
    platform::RegKey key;
    if (set) {
        return key.Create(platform::HKEY_CURRENT_USER, path) == platform::ERROR_SUCCESS &&
               key.SetDWORDValue(name, 1) == platform::ERROR_SUCCESS;
    }
    const platform::LONG opened = key.Open(platform::HKEY_CURRENT_USER, path);
    if (opened == platform::ERROR_FILE_NOT_FOUND) return true;
    const platform::LONG deleted = opened == platform::ERROR_SUCCESS ? key.DeleteValue(name) : opened;
    return deleted == platform::ERROR_SUCCESS || deleted == platform::ERROR_FILE_NOT_FOUND;
}

}  // namespace configkeys
