// What a stored settings object promises: what is stored can be read back
// whole, a save that fails says so and leaves the stored settings as they
// were, and a read never mixes two saves of another process.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "SettingsFixture.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"

namespace settingstest {
namespace {

using TextOf = std::string& (*)(CSettings&);

class SettingsStore : public SettingsTest {
protected:
    std::string Hive() const { return kvtest::ReadFile(root() / "registry/HKCU.reg"); }
    std::string Log() const { return kvtest::ReadFile(root() / "program/Kavelin.log"); }
};

TEST_F(SettingsStore, TextsThatCouldNotBeReadBackWholeAreNeverStored) {
    const struct {
        const char* value;
        std::size_t readable;   // the longest text that reads back
        TextOf field;
    } cases[] = {
        {"_USER_IP", 19, [](CSettings& s) -> std::string& { return s.getPrivacySettings()->mUserIP; }},
        {"_LISTENER_IP", 19, [](CSettings& s) -> std::string& { return s.getPrivacySettings()->mListenerIP; }},
        {"_STARTING_IP", 19, [](CSettings& s) -> std::string& { return s.getGeneralSettings()->mStartingIP; }},
        {"_FIRE_WALL_IP", 19, [](CSettings& s) -> std::string& { return s.getGeneralSettings()->mFireWallIP; }},
        {"_AUTO_KAZAA_SERVER_ADDRESS", 19,
         [](CSettings& s) -> std::string& { return s.getSysConfig()->mAutoKazaaServerAddress; }},
        {"_AUTO_KAZAA_SERVER_USR_NAME", 19,
         [](CSettings& s) -> std::string& { return s.getSysConfig()->mAutoKazaaServerUserName; }},
        {"_AUTO_KAZAA_SERVER_USR_PWD", 49,
         [](CSettings& s) -> std::string& { return s.getSysConfig()->mAutoKazaaServerPassword; }},
        {"_URL_SOURCE", 255, [](CSettings& s) -> std::string& { return s.getHunterSettings()->mURL; }},
        {"_LOCAL_URL", 255, [](CSettings& s) -> std::string& { return s.getHunterSettings()->mLocalURL; }},
        {"_KAVELIN_URL", 255, [](CSettings& s) -> std::string& { return s.getHunterSettings()->mKavelinURL; }},
        {"_BLOCK_STR_TITLE", 258,
         [](CSettings& s) -> std::string& { return s.getFiltrationSettings()->mInFiltration.mBlockTitle; }},
        {"ServerStopList", 499,
         [](CSettings& s) -> std::string& { return s.getFiltrationSettings()->mOutFiltration.mServerStopList.back(); }},
        {"CustomServerList", 499, [](CSettings& s) -> std::string& {
             return s.getFiltrationSettings()->mInFiltration.mBanners.mCustomServerList.back();
         }},
    };
    CSettings stored;
    stored.getFiltrationSettings()->mOutFiltration.mServerStopList = {"a.example", "b.example"};
    stored.getFiltrationSettings()->mInFiltration.mBanners.mCustomServerList = {"c.example"};
    ASSERT_TRUE(stored.SetRegistry());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string before = Hive();
        CSettings typed = stored;
        typed.getGeneralSettings()->setStartingPort(9000);   // a change beside the long text
        c.field(typed) = std::string(c.readable + 1, 'x');
        EXPECT_FALSE(typed.SetRegistry());
        EXPECT_EQ(Hive(), before) << "something was stored";
        EXPECT_NE(Log().find(std::string("The settings were not stored: ") + c.value), std::string::npos) << Log();

        c.field(typed) = std::string(c.readable, 'x');
        ASSERT_TRUE(typed.SetRegistry());
        CSettings read;
        ASSERT_TRUE(read.QueryRegistry());
        EXPECT_EQ(c.field(read), std::string(c.readable, 'x'));
        ASSERT_TRUE(stored.SetRegistry());
    }
}

TEST_F(SettingsStore, SaveThatFailsSaysSoAndKeepsTheStoredSettings) {
    CSettings stored;
    stored.getPrivacySettings()->mListenerPort = 9001;
    ASSERT_TRUE(stored.SetRegistry());
    const std::string before = Hive();

    CSettings changed = stored;
    changed.getPrivacySettings()->mListenerPort = 9002;
    platform::safefile_test::FailTemporaryFiles(true);   // a full disk
    const bool saved = changed.SetRegistry();
    platform::safefile_test::FailTemporaryFiles(false);
    EXPECT_FALSE(saved);
    EXPECT_EQ(Hive(), before);
    CSettings read;
    ASSERT_TRUE(read.QueryRegistry());
    EXPECT_EQ(read.getPrivacySettings()->mListenerPort, 9001u);

    kvtest::TempRoot firstRun;
    platform::safefile_test::FailTemporaryFiles(true);
    CSettings fresh;
    const bool firstRead = fresh.QueryRegistry();
    platform::safefile_test::FailTemporaryFiles(false);
    EXPECT_FALSE(firstRead) << "the first run's defaults were not stored";
}

// One save of each kind: every section holds its own marker of the save.
void Mark(CSettings& s, DWORD save) {
    s.getCleanupSettings()->mCleanupAdvanced.mBrowserExit = save;
    s.getFiltrationSettings()->mOutFiltration.mServerStopList = {"save" + std::to_string(save) + ".example"};
    s.getPrivacySettings()->mListenerPort = 9000 + save;
    s.getGeneralSettings()->setStartingPort(8000 + save);
    s.getSysConfig()->mAutoEDonkey = save;
    s.getHunterSettings()->SetDepth(save);
}

// The save whose markers every section holds; 0 when they differ.
DWORD SaveOf(CSettings& s) {
    const DWORD save = s.getCleanupSettings()->mCleanupAdvanced.mBrowserExit;
    const bool one = s.getFiltrationSettings()->mOutFiltration.mServerStopList ==
                         std::vector<std::string>{"save" + std::to_string(save) + ".example"} &&
                     s.getPrivacySettings()->mListenerPort == 9000 + save &&
                     s.getGeneralSettings()->getStartingPort() == 8000 + save &&
                     s.getSysConfig()->mAutoEDonkey == save && s.getHunterSettings()->GetDepth() == save;
    return one ? save : 0;
}

TEST_F(SettingsStore, ReadSeesOneSaveOfAnotherProcessWholly) {
    CSettings first;
    Mark(first, 1);
    ASSERT_TRUE(first.SetRegistry());
    const pid_t writer = ::fork();
    if (writer == 0) {
        CSettings a;
        CSettings b;
        Mark(a, 1);
        Mark(b, 2);
        for (int i = 0; i < 300; ++i) {
            if (!(i % 2 ? a : b).SetRegistry()) ::_exit(1);
        }
        ::_exit(0);
    }
    int reads = 0;
    int mixed = 0;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(writer, &status, WNOHANG) == 0 && reads < 5000) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(writer, SIGKILL);
            ::waitpid(writer, &status, 0);
            FAIL() << "the writer did not end";
        }
        CSettings read;
        ASSERT_TRUE(read.QueryRegistry());
        ++reads;
        if (SaveOf(read) == 0) ++mixed;
    }
    if (reads < 5000) ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    else ::waitpid(writer, &status, 0);
    EXPECT_GT(reads, 10) << "too few reads while the other process saved";
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
}

}  // namespace
}  // namespace settingstest
