#include "platform/Root.h"

#include <stdlib.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/FileOps.h"
#include "platform/ShFolder.h"
#include "support/TempRoot.h"

namespace {
namespace fs = std::filesystem;

class RootTest : public kvtest::RootedTest {};

TEST_F(RootTest, FollowsKavelinRoot) {
    EXPECT_EQ(platform::UserRoot(), root());
    EXPECT_EQ(platform::RegistryFolder(), root() / "registry");
    EXPECT_TRUE(fs::is_directory(root() / "registry"));
}

TEST_F(RootTest, RelativeRootNamesOneFolderWhereverItIsUsedFrom) {
    const fs::path here = fs::current_path();
    fs::current_path(root());
    setenv("KAVELIN_ROOT", "relative/user", 1);
    const fs::path resolved = platform::UserRoot();
    const bool inside = platform::IsInsideRoot(root() / "relative/user/profile/x.ini");
    const auto joined = platform::JoinBelowRoot(root() / "relative/user/profile", "x.ini");
    fs::current_path(here);
    setenv("KAVELIN_ROOT", root().c_str(), 1);
    EXPECT_EQ(resolved, root() / "relative/user");
    EXPECT_TRUE(inside);
    EXPECT_TRUE(joined);
}

TEST_F(RootTest, MapsShellFoldersBelowProfile) {
    const struct {
        int csidl;
        const char* below;
    } cases[] = {
        {platform::CSIDL_APPDATA, "profile/Application Data"},
        {platform::CSIDL_FAVORITES, "profile/Favorites"},
        {platform::CSIDL_COOKIES, "profile/Cookies"},
        {platform::CSIDL_INTERNET_CACHE, "profile/Local Settings/Temporary Internet Files"},
        {platform::CSIDL_HISTORY, "profile/Local Settings/History"},
        {platform::CSIDL_PROFILE, "profile"},
        {platform::CSIDL_PROGRAM_FILES, "profile/Program Files"},
    };
    for (const auto& c : cases) {
        const auto folder = platform::ShellFolder(c.csidl);
        ASSERT_TRUE(folder) << c.csidl;
        EXPECT_EQ(fs::path(*folder).lexically_normal(), (root() / c.below).lexically_normal()) << c.csidl;
    }
    EXPECT_FALSE(platform::ShellFolder(9999));
}

TEST_F(RootTest, JoinRefusesPathsLeavingTheRoot) {
    const fs::path base = platform::ProfileFolder();
    EXPECT_EQ(platform::JoinBelowRoot(base, "Application Data\\Opera\\opera6.ini"),
              base / "Application Data/Opera/opera6.ini");
    EXPECT_EQ(platform::JoinBelowRoot(base, "\\x"), base / "x");
    EXPECT_FALSE(platform::JoinBelowRoot(base, "..\\..\\..\\etc\\passwd"));
    EXPECT_FALSE(platform::IsInsideRoot("/etc/passwd"));
}

// The folders a look-up makes are made from the root down without going
// through a link: a linked folder on the way gets nothing made behind it,
// however the look-up is done.
TEST_F(RootTest, ShellFoldersAreNeverMadeBehindALinkedFolder) {
    std::string pattern = (fs::temp_directory_path() / "kvroot-outside-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    const fs::path outside = pattern;
    fs::create_directories(outside / "settings");
    fs::create_directories(outside / "data");
    const fs::path profile = platform::ProfileFolder();
    fs::create_symlink(outside / "settings", profile / "Local Settings");
    fs::create_symlink(outside / "data", profile / "Application Data");

    platform::ShellFolder(platform::CSIDL_INTERNET_CACHE);
    platform::ShellFolder(platform::CSIDL_HISTORY);
    platform::ShellFolder(platform::CSIDL_APPDATA);
    const auto lookUp = reinterpret_cast<platform::PFNSHGETFOLDERPATHA>(
        platform::ShFolderProcAddress("SHGetFolderPathA"));
    ASSERT_TRUE(lookUp);
    char path[platform::MAX_PATH];
    lookUp(nullptr, platform::CSIDL_INTERNET_CACHE, nullptr, platform::SHGFP_TYPE_CURRENT, path);
    EXPECT_FALSE(platform::MakeFoldersBelowRoot(profile / "Local Settings" / "made"));

    EXPECT_TRUE(fs::is_empty(outside / "settings"));
    EXPECT_TRUE(fs::is_empty(outside / "data"));
    EXPECT_TRUE(platform::MakeFoldersBelowRoot(profile / "a" / "b"));
    EXPECT_TRUE(fs::is_directory(profile / "a" / "b"));
    EXPECT_FALSE(platform::MakeFoldersBelowRoot(outside / "x"));
    EXPECT_FALSE(fs::exists(outside / "x"));
    fs::remove_all(outside);
}

TEST_F(RootTest, TellsFoldersWhoseRemovalWouldTakeTheRegistryOrProgramFolder) {
    // The user root one level down, so that the test's folder holds a
    // place beside it.
    const fs::path user = root() / "user";
    ASSERT_EQ(setenv("KAVELIN_ROOT", user.c_str(), 1), 0);
    fs::create_directories(user / "registry");
    fs::create_directories(user / "profile" / "Cookies");
    const fs::path beside = root() / "beside";
    fs::create_directories(beside);
    fs::create_symlink(user, beside / "link-to-root");
    const struct {
        fs::path folder;
        bool holds;
    } cases[] = {
        {user, true},
        {user.string() + "/", true},
        {user / "profile" / "..", true},
        {user / "registry", true},
        {user / "program/", true},
        {root(), true},
        {"/", true},
        {beside / "link-to-root", true},
        {user / "profile", false},
        {user / "profile" / "Cookies/", false},
        {user / "registry-old", false},
        {user / "registry" / "inside", true},
        {beside, false},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::HoldsRootFolders(c.folder), c.holds) << c.folder;
}

}  // namespace
