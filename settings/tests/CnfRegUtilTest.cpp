// Configurator helpers: values written or deleted, and the file search.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SettingsFixture.h"
#include "settings/CCnfRegUtil.h"

namespace settingstest {
namespace {

namespace fs = std::filesystem;
using platform::ERROR_SUCCESS;

class CnfRegUtil : public SettingsTest {};

TEST_F(CnfRegUtil, ZeroAndEmptyDeleteTheValue) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(platform::HKEY_CURRENT_USER, "Software\\CnfTest"), ERROR_SUCCESS);
    DWORD number = 0;
    std::string text;

    CCnfRegUtil::AddDWORDValue(key, "Port", 8080);
    EXPECT_EQ(key.QueryDWORDValue("Port", number), ERROR_SUCCESS);
    EXPECT_EQ(number, 8080u);
    CCnfRegUtil::AddDWORDValue(key, "Port", 0);
    EXPECT_NE(key.QueryDWORDValue("Port", number), ERROR_SUCCESS);

    CCnfRegUtil::AddStringValue(key, "Host", "127.0.0.1");
    EXPECT_EQ(key.QueryStringValue("Host", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "127.0.0.1");
    CCnfRegUtil::AddStringValue(key, "Host", "");
    EXPECT_NE(key.QueryStringValue("Host", text), ERROR_SUCCESS);
    CCnfRegUtil::AddStringValue(key, "Host", "x");
    CCnfRegUtil::AddStringValue(key, "Host", nullptr);
    EXPECT_NE(key.QueryStringValue("Host", text), ERROR_SUCCESS);
}

class SearchFolder : public SettingsTest {
protected:
    fs::path Tree() const { return root() / "profile" / "Mozilla"; }
    void Make(const fs::path& relative) { kvtest::WriteFile(Tree() / relative, "x"); }
    std::string Search(std::string_view name, std::string folder = {}) {
        std::string result;
        CCnfRegUtil::SearchFolder(folder.empty() ? Tree().string() : folder, name, result);
        return result;
    }
};

TEST_F(SearchFolder, FindsANestedFileIgnoringCaseWithoutMovingTheWorkingFolder) {
    Make("Profiles/default/abc.slt/PREFS.JS");
    Make("Profiles/default/abc.slt/other.txt");
    const fs::path before = fs::current_path();
    EXPECT_EQ(Search("prefs.js"), (Tree() / "Profiles/default/abc.slt/PREFS.JS").string());
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(Search("prefs.js", Tree().string() + "/"),
              (Tree() / "Profiles/default/abc.slt/PREFS.JS").string());
}

TEST_F(SearchFolder, TakesTheFirstMatchInSortedDepthFirstOrder) {
    Make("b/prefs.js");
    Make("A/deeper/prefs.js");
    Make("prefs.js.bak");
    EXPECT_EQ(Search("prefs.js"), (Tree() / "A/deeper/prefs.js").string());
}

TEST_F(SearchFolder, NeverFollowsSymbolicLinks) {
    const fs::path outside = root() / "outside";
    kvtest::WriteFile(outside / "prefs.js", "x");
    fs::create_directories(Tree());
    fs::create_directory_symlink(outside, Tree() / "linked-folder");
    fs::create_symlink(outside / "prefs.js", Tree() / "PREFS.js");
    EXPECT_EQ(Search("prefs.js"), "");

    Make("z/prefs.js");
    EXPECT_EQ(Search("prefs.js"), (Tree() / "z/prefs.js").string());
}

TEST_F(SearchFolder, LeavesTheResultAloneWhenNothingMatches) {
    Make("a/other.js");
    EXPECT_EQ(Search("prefs.js"), "");
    EXPECT_EQ(Search("prefs.js", (root() / "absent").string()), "");
}

}  // namespace
}  // namespace settingstest
