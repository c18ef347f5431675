#include "platform/Root.h"

#include <gtest/gtest.h>

#include "support/TempRoot.h"

namespace {
namespace fs = std::filesystem;

class RootTest : public kvtest::RootedTest {};

TEST_F(RootTest, FollowsKavelinRoot) {
    EXPECT_EQ(platform::UserRoot(), root());
    EXPECT_EQ(platform::RegistryFolder(), root() / "registry");
    EXPECT_TRUE(fs::is_directory(root() / "registry"));
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

}  // namespace
