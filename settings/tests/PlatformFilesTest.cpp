// The platform pieces under the file configurators: INI sections, whole-file
// replacement, client-file paths found without case, and the shell-folder
// library.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "platform/NoCasePath.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"
#include "platform/ShFolder.h"
#include "support/TempRoot.h"

namespace {
namespace fs = std::filesystem;

class PlatformFilesTest : public kvtest::RootedTest {
protected:
    fs::path Ini() const { return root() / "profile/test.ini"; }
};

struct SectionCase {
    const char* what;
    const char* before;  // nullptr: no file
    const char* section;
    std::vector<std::string> lines;
    const char* after;
};

TEST_F(PlatformFilesTest, WritesSectionKeepingEveryOtherByte) {
    const SectionCase cases[] = {
        {"body replaced, neighbours kept", "; top\r\n[a]\r\nx=1\r\n[b]\r\ny=2\r\n[c]\nz=3\n", "b", {"k=v", "w"},
         "; top\r\n[a]\r\nx=1\r\n[b]\r\nk=v\r\nw\r\n[c]\nz=3\n"},
        {"section matched without case", "[Proxy]\r\nold=1\r\n", "PROXY", {"new=2"}, "[Proxy]\r\nnew=2\r\n"},
        {"header with blanks", "  [ socks ]  \r\nold\r\n[x]\r\n", "Socks", {"a=1"}, "  [ socks ]  \r\na=1\r\n[x]\r\n"},
        {"blank separator kept", "[a]\r\nx=1\r\n\r\n\r\n[b]\r\n", "a", {"y=2"}, "[a]\r\ny=2\r\n\r\n\r\n[b]\r\n"},
        {"no lines keeps the header", "[a]\r\nx=1\r\n[b]\r\ny\r\n", "a", {}, "[a]\r\n[b]\r\ny\r\n"},
        {"absent section appended", "[a]\r\nx=1\r\n", "b", {"y=2"}, "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
        {"appended after a last line without its end", "[a]\r\nx=1", "b", {"y=2"}, "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
        {"header on the last line", "x\r\n[a]", "a", {"y=2"}, "x\r\n[a]\r\ny=2\r\n"},
        {"body on the last line without its end", "[a]\r\nx=1\r\n[b]\r\nold", "b", {"y"}, "[a]\r\nx=1\r\n[b]\r\ny\r\n"},
        {"only the first of two sections", "[a]\r\n1\r\n[a]\r\n2\r\n", "a", {"3"}, "[a]\r\n3\r\n[a]\r\n2\r\n"},
        {"comments in other sections kept", "[a]\r\n; note\r\n[b]\r\n;x\r\n", "b", {"y"}, "[a]\r\n; note\r\n[b]\r\ny\r\n"},
        {"file created", nullptr, "firewall", {"host=127.0.0.1"}, "[firewall]\r\nhost=127.0.0.1\r\n"},
        {"empty file", "", "a", {"x"}, "[a]\r\nx\r\n"},
    };
    for (const auto& c : cases) {
        fs::remove(Ini());
        if (c.before) kvtest::WriteFile(Ini(), c.before);
        ASSERT_TRUE(platform::WritePrivateProfileSection(c.section, c.lines, Ini())) << c.what;
        EXPECT_EQ(kvtest::ReadFile(Ini()), c.after) << c.what;
    }
}

TEST_F(PlatformFilesTest, SectionWriteFailsWithoutFolderAndKeepsFileOnTempFailure) {
    EXPECT_FALSE(platform::WritePrivateProfileSection("a", {"x"}, root() / "profile/missing/test.ini"));
    EXPECT_FALSE(fs::exists(root() / "profile/missing"));

    kvtest::WriteFile(Ini(), "[a]\r\nx=1\r\n");
    platform::safefile_test::FailTemporaryFiles(true);
    EXPECT_FALSE(platform::WritePrivateProfileSection("a", {"y"}, Ini()));
    platform::safefile_test::FailTemporaryFiles(false);
    EXPECT_EQ(kvtest::ReadFile(Ini()), "[a]\r\nx=1\r\n");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(Ini().parent_path())) left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"test.ini"});
}

TEST_F(PlatformFilesTest, SectionWriteNeverReplacesAFileThatCannotBeRead) {
    kvtest::WriteFile(Ini(), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    platform::safefile_test::DenyReading(Ini());
    EXPECT_FALSE(platform::WritePrivateProfileSection("a", {"z=3"}, Ini()));
    platform::safefile_test::DenyReading({});
    EXPECT_EQ(kvtest::ReadFile(Ini()), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    EXPECT_EQ(platform::ReadFileIfPresent(root() / "profile/none.ini").state, platform::FileContents::State::Absent);
    EXPECT_EQ(platform::ReadFileIfPresent(root() / "profile").state, platform::FileContents::State::Unreadable);
}

TEST_F(PlatformFilesTest, CopyTakesTheModeOfItsSource) {
    const fs::path source = root() / "profile/private.ini";
    const fs::path copy = root() / "profile/copy.ini";
    const auto owner = fs::perms::owner_read | fs::perms::owner_write;
    const auto shared = owner | fs::perms::group_read | fs::perms::others_read;
    for (const bool copyExists : {false, true}) {
        kvtest::WriteFile(source, "secret");
        fs::permissions(source, owner);
        if (copyExists) {
            kvtest::WriteFile(copy, "old");
            fs::permissions(copy, shared);
        }
        ASSERT_TRUE(platform::CopyFileAtomic(source, copy));
        EXPECT_EQ(fs::status(copy).permissions() & fs::perms::all, owner) << copyExists;
        EXPECT_EQ(kvtest::ReadFile(copy), "secret");
    }
}

TEST_F(PlatformFilesTest, RemovalStaysInsideTheRootAndNeverTakesAFolder) {
    const fs::path file = root() / "profile/gone.ini";
    kvtest::WriteFile(file, "x");
    EXPECT_TRUE(platform::RemoveFileDurably(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(platform::RemoveFileDurably(file)) << "a file that is not there is gone";
    fs::create_directories(root() / "profile/folder");
    EXPECT_FALSE(platform::RemoveFileDurably(root() / "profile/folder"));
    EXPECT_TRUE(fs::is_directory(root() / "profile/folder"));
    const fs::path outside = root().parent_path() / (root().filename().string() + "-outside");
    kvtest::WriteFile(outside, "not the user's root");
    EXPECT_FALSE(platform::RemoveFileDurably(outside));
    fs::create_symlink(outside, root() / "profile/link");
    EXPECT_TRUE(platform::RemoveFileDurably(root() / "profile/link"));
    EXPECT_TRUE(fs::exists(outside));
    fs::remove(outside);
}

TEST_F(PlatformFilesTest, ReadsProfileStringsLikeTheProfileFunctions) {
    kvtest::WriteFile(Ini(), "[Proxy]\r\n HTTP Server = \"a:1\" \r\nUse HTTP=1\r\n[socks]\nport=1080\n");
    EXPECT_EQ(platform::GetPrivateProfileString("proxy", "http server", "none", Ini()), "a:1");
    EXPECT_EQ(platform::GetPrivateProfileString("SOCKS", "PORT", "none", Ini()), "1080");
    EXPECT_EQ(platform::GetPrivateProfileString("socks", "method", "none", Ini()), "none");
    EXPECT_EQ(platform::GetPrivateProfileString("other", "port", "none", Ini()), "none");
    EXPECT_EQ(platform::GetPrivateProfileString("socks", "port", "none", root() / "nofile.ini"), "none");
    EXPECT_EQ(platform::GetPrivateProfileSection("Proxy", Ini()),
              (std::vector<std::string>{" HTTP Server = \"a:1\" ", "Use HTTP=1"}));
}

TEST_F(PlatformFilesTest, ReplacementKeepsLinkAndPermissions) {
    const fs::path target = root() / "profile/real.ini";
    const fs::path link = root() / "profile/link.ini";
    kvtest::WriteFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, link);
    ASSERT_TRUE(platform::WriteFileAtomic(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(kvtest::ReadFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::create_symlink("/etc/hostname", root() / "profile/out.ini");
    EXPECT_FALSE(platform::WriteFileAtomic(root() / "profile/out.ini", "x"));
    EXPECT_FALSE(platform::WriteFileAtomic("/tmp/kv-outside-root.txt", "x"));
}

TEST_F(PlatformFilesTest, FindsClientFilesWithoutCase) {
    const fs::path profile = platform::ProfileFolder();
    fs::create_directories(profile / "Application Data/Mozilla/Profiles/default");
    kvtest::WriteFile(profile / "Program Files/mIRC/MIRC.INI", "x");

    EXPECT_EQ(platform::ResolveNoCase(profile, "application data\\MOZILLA\\profiles\\Default"),
              profile / "Application Data/Mozilla/Profiles/default");
    EXPECT_EQ(platform::ResolveNoCase(profile, "Application Data/Opera/Opera7/opera6.ini"),
              profile / "Application Data/Opera/Opera7/opera6.ini");
    EXPECT_EQ(platform::MapWindowsPath("C:\\PROGRAM FILES\\mirc"), profile / "Program Files/mIRC");
    EXPECT_EQ(platform::MapWindowsPath("c:/Program Files/mIRC/mirc.ini"), profile / "Program Files/mIRC/MIRC.INI");
    EXPECT_EQ(platform::MapWindowsPath("C:\\"), profile);

    EXPECT_FALSE(platform::MapWindowsPath("D:\\mIRC"));
    EXPECT_FALSE(platform::MapWindowsPath("\"C:\\mIRC"));
    EXPECT_FALSE(platform::MapWindowsPath("mIRC"));
    EXPECT_FALSE(platform::ResolveNoCase(profile, "..\\..\\etc"));
    fs::create_directory_symlink("/etc", profile / "escape");
    EXPECT_FALSE(platform::ResolveNoCase(profile, "escape/passwd"));
}

TEST_F(PlatformFilesTest, ShellFolderFunctionGivesAppDataUnlessLibraryMissing) {
    const auto fn = reinterpret_cast<platform::PFNSHGETFOLDERPATHA>(platform::ShFolderProcAddress("SHGetFolderPathA"));
    ASSERT_NE(fn, nullptr);
    char path[platform::MAX_PATH];
    ASSERT_EQ(fn(nullptr, platform::CSIDL_APPDATA, nullptr, platform::SHGFP_TYPE_CURRENT, path), platform::S_OK);
    EXPECT_EQ(fs::path(path), root() / "profile/Application Data");
    EXPECT_EQ(fn(nullptr, 9999, nullptr, 0, path), platform::E_INVALIDARG);
    EXPECT_EQ(platform::ShFolderProcAddress("SHGetFolderPathW"), nullptr);

    platform::shfolder_test::SetLibraryMissing(true);
    EXPECT_EQ(platform::ShFolderProcAddress("SHGetFolderPathA"), nullptr);
    platform::shfolder_test::SetLibraryMissing(false);
}

}  // namespace
