#include "platform/Autostart.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempRoot.h"

namespace {

namespace fs = std::filesystem;

class AutostartTest : public kvtest::RootedTest {
protected:
    void SetUp() override { fs::create_directories(configHome()); }
    fs::path Entry(const std::string& file) const { return configHome() / "autostart" / file; }
};

// The Exec line as the desktop reads it back: string escapes first, then
// the quoting of the one word, then "%%".
std::string ProgramOf(const std::string& entryText) {
    const auto at = entryText.find("\nExec=");
    if (at == std::string::npos) return "<none>";
    const auto begin = at + 6;
    const std::string value = entryText.substr(begin, entryText.find('\n', begin) - begin);
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') ++i;
        unescaped += value[i];
    }
    if (unescaped.size() < 2 || unescaped.front() != '"' || unescaped.back() != '"') return "<unquoted>";
    std::string word;
    for (std::size_t i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == '\\') ++i;
        else if (unescaped[i] == '%') ++i;
        word += unescaped[i];
    }
    return word;
}

TEST_F(AutostartTest, AnyProgramPathIsOneValidWordOfTheEntry) {
    const std::string programs[] = {
        "/usr/bin/KVSweep",
        "/opt/Kavelin Ver 2.0/KVDesk",
        "/tmp/odd $HOME `x` \"q\" \\b 100% ;|&<>*?#()~'/KVSweep",
    };
    for (const std::string& program : programs) {
        ASSERT_TRUE(platform::WriteAutostartEntry("Kavelin Ver 2.0", program)) << program;
        const fs::path entry = Entry("Kavelin-Ver-2.0.desktop");
        EXPECT_EQ(platform::AutostartEntryFile("Kavelin Ver 2.0"), entry);
        EXPECT_EQ(program, ProgramOf(kvtest::ReadFile(entry)));
        const std::string validate = "/usr/bin/desktop-file-validate '" + entry.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(0, std::system(validate.c_str())) << program << "\n" << kvtest::ReadFile(entry);
    }
    EXPECT_TRUE(platform::RemoveAutostartEntry("Kavelin Ver 2.0"));
    EXPECT_FALSE(fs::exists(Entry("Kavelin-Ver-2.0.desktop")));
    EXPECT_TRUE(platform::RemoveAutostartEntry("Kavelin Ver 2.0"));
}

TEST_F(AutostartTest, RefusesWhatCannotBeOneAndLeavesOtherFilesAlone) {
    EXPECT_FALSE(platform::WriteAutostartEntry("KVSweep", "relative/KVSweep"));
    EXPECT_FALSE(platform::WriteAutostartEntry("KVSweep", "/line\nbreak/KVSweep"));
    fs::create_directories(Entry(""));
    kvtest::WriteFile(root() / "target.desktop", "not ours");
    fs::create_symlink(root() / "target.desktop", Entry("KVSweep.desktop"));
    EXPECT_FALSE(platform::WriteAutostartEntry("KVSweep", "/usr/bin/KVSweep"));
    EXPECT_EQ("not ours", kvtest::ReadFile(root() / "target.desktop"));
    // Removing takes the link away, never what it names.
    EXPECT_TRUE(platform::RemoveAutostartEntry("KVSweep"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Entry("KVSweep.desktop"))));
    EXPECT_EQ("not ours", kvtest::ReadFile(root() / "target.desktop"));
    kvtest::WriteFile(Entry("Other.desktop"), "other");
    ASSERT_TRUE(platform::WriteAutostartEntry("KVSweep", "/usr/bin/KVSweep"));
    EXPECT_EQ("other", kvtest::ReadFile(Entry("Other.desktop")));
}

}  // namespace
