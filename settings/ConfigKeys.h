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

}  // namespace configkeys
