// The start-with-the-system value starts the program here through the
// desktop's autostart entry of the same name, written and removed with it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SettingsFixture.h"
#include "settings/CSettings.h"

namespace settingstest {
namespace {

namespace fs = std::filesystem;

class StartupEntry : public SettingsTest {
protected:
    fs::path Entry() const { return configHome() / "autostart" / "Kavelin-Ver-2.0.desktop"; }
    // The value of a key of the entry, as written.
    std::string Value(const std::string& key) const {
        const std::string text = "\n" + kvtest::ReadFile(Entry());
        const auto at = text.find("\n" + key + "=");
        if (at == std::string::npos) return "<none>";
        const auto begin = at + key.size() + 2;
        return text.substr(begin, text.find('\n', begin) - begin);
    }
    static void Store(bool launch) {
        CSettings settings;
        settings.getSysConfig()->setLaunchAtStartup(launch);
        ASSERT_TRUE(settings.SetRegistry());
    }
};

TEST_F(StartupEntry, ComesAndGoesWithTheFlagAndStartsTheChosenProgram) {
    fs::create_directories(configHome());
    CSettings::mAppName = eKVDesk;
    Store(true);
    ASSERT_TRUE(fs::is_regular_file(Entry()));
    const std::string exec = Value("Exec");
    ASSERT_TRUE(exec.size() > 2 && exec.front() == '"' && exec.back() == '"') << exec;
    const fs::path program = exec.substr(1, exec.size() - 2);
    EXPECT_EQ("KVDesk", program.filename());
    EXPECT_TRUE(fs::exists(program.parent_path() / "libPrefsKeeper.so")) << program;
    EXPECT_EQ("Kavelin Ver 2.0", Value("Name"));

    Store(false);
    EXPECT_FALSE(fs::exists(Entry()));
}

TEST_F(StartupEntry, NothingIsMadeWithoutAConfigurationFolder) {
    CSettings::mAppName = eKVDesk;
    Store(true);
    Store(false);
    EXPECT_FALSE(fs::exists(configHome()));
}

}  // namespace
}  // namespace settingstest
