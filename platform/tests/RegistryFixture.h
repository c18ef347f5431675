#pragma once
// Fixture of the registry tests: its own root, and a way to look at the
// hives as a fresh process would, from the files alone.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "support/TempRoot.h"

namespace kvtest {

class RegistryTest : public RootedTest {
protected:
    static constexpr platform::Hive kUser = platform::HKEY_CURRENT_USER;

    std::filesystem::path HiveFile(const char* name = "HKCU.reg") const { return root() / "registry" / name; }

    // An open key below HKCU, created when missing.
    static platform::RegKey Key(std::string_view path) {
        platform::RegKey key;
        EXPECT_EQ(platform::ERROR_SUCCESS, key.Create(kUser, path)) << path;
        return key;
    }

    // Runs check with KAVELIN_ROOT pointing at a copy of this root's hive
    // files: whatever it reads comes from the file text, not from this
    // process's cache of the hive.
    void FromCopiedFiles(const std::function<void()>& check) const {
        const std::filesystem::path from = root() / "registry";
        TempRoot copy;
        std::filesystem::create_directories(copy.path() / "registry");
        for (const char* name : {"HKCU.reg", "HKLM.reg", "HKCR.reg"}) {
            if (std::filesystem::exists(from / name)) {
                std::filesystem::copy_file(from / name, copy.path() / "registry" / name);
            }
        }
        check();
    }

    static std::vector<platform::BYTE> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
};

}  // namespace kvtest
