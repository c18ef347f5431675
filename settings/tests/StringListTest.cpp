// String lists in the registry and the default list files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "platform/Root.h"
#include "settings/CRegHelper.h"

namespace settingstest {
namespace {

using platform::ERROR_SUCCESS;
using List = std::vector<std::string>;

class StringList : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        ASSERT_EQ(parent_.Create(platform::HKEY_CURRENT_USER, "Software\\ListTest"), ERROR_SUCCESS);
    }
    platform::RegKey parent_;
};

TEST_F(StringList, ListFilesReadAsOneLowerCaseEntryPerLine) {
    struct Case {
        const char* name;
        std::string text;
        List entries;
    };
    const Case cases[] = {
        {"plain", "a.example\nb.example\n", {"a.example", "b.example"}},
        {"no final newline", "a.example\nb.example", {"a.example", "b.example"}},
        {"crlf", "a.example\r\nb.example\r\n", {"a.example", "b.example"}},
        {"crlf without final newline", "a.example\r\nb.example", {"a.example", "b.example"}},
        {"blank lines", "\n\na.example\n\n\r\n  \nb.example\n\n", {"a.example", "b.example"}},
        {"upper case and blanks", "  Ads.EXAMPLE \t\r\n\tB.Example  ", {"ads.example", "b.example"}},
        {"single line", "only.example", {"only.example"}},
        {"empty", "", {}},
        {"only blanks", " \r\n\r\n\t", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kvtest::WriteFile(folder_.path() / "list.txt", c.text);
        EXPECT_EQ(CRegHelper::ReadListFile("list.txt"), c.entries);
    }
    EXPECT_TRUE(CRegHelper::ReadListFile("missing.txt").empty());
}

// The build puts the shipped lists beside the libraries and programs.
TEST_F(StringList, ShippedListFilesLieBesideTheProgramsAndAreReadable) {
    for (const char* name : {"AllowedAds.txt", "blockedAds.txt", "ServerStopList.txt"}) {
        const std::filesystem::path shipped = platform::ProgramImageFolder() / name;
        ASSERT_TRUE(std::filesystem::exists(shipped)) << shipped;
        std::filesystem::copy_file(shipped, folder_.path() / name);
        const List entries = CRegHelper::ReadListFile(name);
        EXPECT_FALSE(entries.empty()) << name;
        for (const std::string& entry : entries) {
            EXPECT_EQ(entry.find_first_of(" \t\r\n"), std::string::npos) << name << ": " << entry;
        }
    }
}

TEST_F(StringList, SkipsEmptyEntriesOnWriteAndRead) {
    CRegHelper::setStringArrayRegistry(parent_, "Hosts", {"a.example", "", "B.example", ""});
    platform::RegKey key;
    ASSERT_EQ(key.Open(parent_, "Hosts"), ERROR_SUCCESS);
    DWORD count = 0;
    key.QueryDWORDValue("Count", count);
    EXPECT_EQ(count, 2u);

    // An empty stored value (written by someone else) is skipped as well.
    key.SetDWORDValue("Count", 3);
    key.SetStringValue("0002", "");
    key.SetStringValue("0001", "B.example");
    List list = {"old"};
    EXPECT_TRUE(CRegHelper::getStringArrayRegistry(parent_, "Hosts", list, nullptr));
    EXPECT_EQ(list, (List{"a.example", "B.example"}));
}

TEST_F(StringList, UnreadableEntriesAreSkipped) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(parent_, "Hosts"), ERROR_SUCCESS);
    key.SetDWORDValue("Count", 4);
    key.SetStringValue("0000", "first.example");
    key.SetDWORDValue("0001", 7);                      // not a text
    key.SetStringValue("0002", std::string(500, 'x'));  // longer than 499
    key.SetStringValue("0003", std::string(499, 'y'));
    List list;
    EXPECT_TRUE(CRegHelper::getStringArrayRegistry(parent_, "Hosts", list, nullptr));
    EXPECT_EQ(list, (List{"first.example", std::string(499, 'y')}));
}

TEST_F(StringList, HugeCountReadsOnlyTheValuesThere) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(parent_, "Hosts"), ERROR_SUCCESS);
    key.SetDWORDValue("Count", 0xFFFFFFFFu);
    key.SetStringValue("0000", "a.example");
    key.SetStringValue("0001", "b.example");
    List list;
    EXPECT_TRUE(CRegHelper::getStringArrayRegistry(parent_, "Hosts", list, nullptr));
    EXPECT_EQ(list, (List{"a.example", "b.example"}));
}

TEST_F(StringList, ZeroCountFallsBackToTheDefaultFile) {
    kvtest::WriteFile(folder_.path() / "defaults.txt", "Def.Example\r\nother.example");
    struct Case {
        const char* name;
        void (*prepare)(platform::RegKey&);
        const char* file;
        List entries;
    };
    const Case cases[] = {
        {"no subkey", nullptr, "defaults.txt", {"def.example", "other.example"}},
        {"count 0", [](platform::RegKey& k) { k.SetDWORDValue("Count", 0); }, "defaults.txt",
         {"def.example", "other.example"}},
        {"count as text", [](platform::RegKey& k) { k.SetStringValue("Count", "2"); }, "defaults.txt",
         {"def.example", "other.example"}},
        {"no default file", nullptr, nullptr, {}},
        {"missing default file", nullptr, "absent.txt", {}},
        {"stored entries win", [](platform::RegKey& k) {
             k.SetDWORDValue("Count", 1);
             k.SetStringValue("0000", "Stored.Example");
         }, "defaults.txt", {"Stored.Example"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        parent_.RecurseDeleteKey("Hosts");
        if (c.prepare) {
            platform::RegKey key;
            ASSERT_EQ(key.Create(parent_, "Hosts"), ERROR_SUCCESS);
            c.prepare(key);
        }
        List list = {"old"};
        EXPECT_TRUE(CRegHelper::getStringArrayRegistry(parent_, "Hosts", list, c.file));
        EXPECT_EQ(list, c.entries);
    }
}

TEST_F(StringList, ReadFailsAndKeepsTheListWhenTheSubkeyCannotBeHad) {
    platform::registry_test::DenyPath(platform::HKEY_CURRENT_USER, "Software\\ListTest\\Hosts");
    List list = {"kept"};
    EXPECT_FALSE(CRegHelper::getStringArrayRegistry(parent_, "Hosts", list, nullptr));
    EXPECT_EQ(list, List{"kept"});
    // Writing reports success even though nothing could be stored.
    EXPECT_TRUE(CRegHelper::setStringArrayRegistry(parent_, "Hosts", {"a.example"}));
}

TEST_F(StringList, BoundedStringReadsGiveEmptyForAnythingThatDoesNotFit) {
    struct Case {
        const char* name;
        void (*store)(platform::RegKey&);
        DWORD buffer;
        std::string expected;
    };
    const Case cases[] = {
        {"fits exactly", [](platform::RegKey& k) { k.SetStringValue("v", std::string(19, 'a')); }, 20,
         std::string(19, 'a')},
        {"one byte too long", [](platform::RegKey& k) { k.SetStringValue("v", std::string(20, 'a')); },
         20, ""},
        {"expandable text",
         [](platform::RegKey& k) { k.SetStringValue("v", "%HOME%", platform::REG_EXPAND_SZ); }, 20,
         "%HOME%"},
        {"number", [](platform::RegKey& k) { k.SetDWORDValue("v", 5); }, 20, ""},
        {"missing", [](platform::RegKey&) {}, 20, ""},
        {"no terminating zero",
         [](platform::RegKey& k) { k.SetValue("v", platform::REG_SZ, "abc", 3); }, 20, ""},
        {"empty text", [](platform::RegKey& k) { k.SetStringValue("v", ""); }, 20, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        parent_.DeleteValue("v");
        c.store(parent_);
        std::string value = "before";
        EXPECT_TRUE(CRegHelper::utl_QueryStringValue(parent_, "v", value, c.buffer));
        EXPECT_EQ(value, c.expected);
    }
    std::string value = "before";
    EXPECT_FALSE(CRegHelper::utl_QueryStringValue(parent_, "v", value, 0));
    EXPECT_EQ(value, "");
}

}  // namespace
}  // namespace settingstest
