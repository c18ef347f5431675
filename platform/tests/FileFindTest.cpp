#include "platform/FileFind.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempRoot.h"

namespace {

namespace fs = std::filesystem;
using platform::FindFiles;
using platform::WildcardMatch;

std::vector<std::string> Names(const std::vector<platform::FindData>& found) {
    std::vector<std::string> names;
    for (const auto& entry : found) names.push_back(entry.name);
    return names;
}

TEST(WildcardMatch, FollowsWindowsRulesWithoutCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.*", "prefs.js", true},     {"*.*", "README", true},     {"*.*", ".", true},
        {"*", "anything.at.all", true}, {"*.js", "PREFS.JS", true}, {"*.js", "prefs.jsx", false},
        {"?refs.js", "prefs.js", true}, {"?refs.js", "refs.js", false}, {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},     {"opera*.ini", "Opera6.INI", true}, {"*.txt", ".", false},
        {"", "", true},                 {"", "x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
    }
}

class FileFind : public kvtest::RootedTest {};

TEST_F(FileFind, ListsDotsFirstThenNamesSortedWithoutCase) {
    const fs::path folder = root() / "list";
    for (const char* name : {"beta.txt", "Alpha.txt", "gamma", "ALPHA2.TXT"}) {
        kvtest::WriteFile(folder / name, "x");
    }
    fs::create_directory(folder / "Delta");
    EXPECT_EQ(Names(FindFiles(folder, "*.*")),
              (std::vector<std::string>{".", "..", "Alpha.txt", "ALPHA2.TXT", "beta.txt", "Delta", "gamma"}));
    EXPECT_EQ(Names(FindFiles(folder, "*.txt")),
              (std::vector<std::string>{"Alpha.txt", "ALPHA2.TXT", "beta.txt"}));
    EXPECT_TRUE(FindFiles(root() / "absent", "*.*").empty());
}

TEST_F(FileFind, ReportsLinksAsLinksNeverAsTheirTarget) {
    const fs::path folder = root() / "links";
    fs::create_directories(folder / "real");
    kvtest::WriteFile(folder / "file.txt", "12345");
    fs::create_directory_symlink(folder / "real", folder / "to-folder");

    for (const auto& entry : FindFiles(folder, "*.*")) {
        SCOPED_TRACE(entry.name);
        if (entry.name == "real" || entry.IsDots()) {
            EXPECT_TRUE(entry.IsDirectory());
            EXPECT_FALSE(entry.IsLink());
        } else if (entry.name == "to-folder") {
            EXPECT_TRUE(entry.IsLink());
            EXPECT_FALSE(entry.IsDirectory());
        } else {
            EXPECT_EQ(entry.name, "file.txt");
            EXPECT_FALSE(entry.IsDirectory());
            EXPECT_EQ(entry.size, 5u);
        }
    }
}

}  // namespace
