#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cleanup/CTraceSweeper.h"
#include "cleanup/sweep/CSweepJob.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "settings/CCleanupSettings.h"
#include "support/TempRoot.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace platform;
using kvtest::ReadFile;
using kvtest::WriteFile;

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

// Runs the real program with this process's environment (so its
// KAVELIN_ROOT) and gives its exit status; -1 when it did not end in time.
int RunSweep(const std::vector<std::string>& arguments = {}) {
    std::vector<std::string> words = {KV_SWEEP_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    for (int i = 0; i < 2000; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

bool KeyExists(const std::string& key) {
    RegKey opened;
    return opened.Open(HKEY_CURRENT_USER, key) == ERROR_SUCCESS;
}

void SetText(const std::string& key, const std::string& name, const std::string& text) {
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS, opened.Create(HKEY_CURRENT_USER, key));
    ASSERT_EQ(ERROR_SUCCESS, opened.SetStringValue(name, text));
}

void StoreCleanup(const CCleanupSettings& settings) {
    RegKey root;
    ASSERT_EQ(ERROR_SUCCESS, root.Create(HKEY_CURRENT_USER, "Software\\Kavelin Ver 2.0"));
    ASSERT_TRUE(settings.SetRegistry(root));
}

class KVSweepTest : public kvtest::RootedTest {
protected:
    fs::path profile() const { return root() / "profile"; }
    fs::path temp() const { return profile() / "Local Settings" / "temp"; }
    fs::path recent() const { return profile() / "Recent"; }
    fs::path netscapeCookies() const {
        return profile() / "Application Data/Mozilla/profiles/default/k2j4ab.slt/cookies.txt";
    }
    fs::path operaCookies() const { return profile() / "Application Data/Opera/Opera7/profile/cookies4.dat"; }

    // Traces of selected and of unselected items alike.
    void SeedTraces() {
        SetText(kExplorer + "\\RunMRU", "a", "notepad");
        SetText(kExplorer + "\\RecentDocs", "a", "doc");
        SetText(kTypedUrls, "url1", "http://typed/");
        WriteFile(temp() / "scratch.tmp", "tmp");
        WriteFile(recent() / "letter.lnk", "lnk");
        WriteFile(netscapeCookies(), "cookie");
        WriteFile(operaCookies(), "cookie");
    }

    // Run history, temporary files and cookies chosen; the rest not.
    static CCleanupSettings Chosen() {
        CCleanupSettings settings;
        settings.mCleanupSys.mRun = 1;
        settings.mCleanupSys.mTemp = 1;
        settings.mCleanupInternet.mCookies = 1;
        return settings;
    }

    void ExpectChosenCleaned() {
        EXPECT_FALSE(KeyExists(kExplorer + "\\RunMRU"));
        EXPECT_FALSE(fs::exists(temp() / "scratch.tmp"));
        EXPECT_FALSE(fs::exists(netscapeCookies()));
        EXPECT_FALSE(fs::exists(operaCookies()));
        ExpectUnchosenKept();
    }
    void ExpectUnchosenKept() {
        EXPECT_TRUE(KeyExists(kExplorer + "\\RecentDocs"));
        EXPECT_TRUE(KeyExists(kTypedUrls));
        EXPECT_EQ(ReadFile(recent() / "letter.lnk"), "lnk");
    }
    void ExpectNothingCleaned() {
        EXPECT_TRUE(KeyExists(kExplorer + "\\RunMRU"));
        EXPECT_EQ(ReadFile(temp() / "scratch.tmp"), "tmp");
        EXPECT_EQ(ReadFile(netscapeCookies()), "cookie");
        EXPECT_EQ(ReadFile(operaCookies()), "cookie");
        ExpectUnchosenKept();
    }
};

TEST_F(KVSweepTest, CleansWhatTheStoredSettingsSelectForEveryBrowser) {
    SeedTraces();
    StoreCleanup(Chosen());
    ASSERT_EQ(RunSweep(), 0);
    ExpectChosenCleaned();
}

TEST_F(KVSweepTest, WithoutStoredSettingsCleansNothingAndWritesNoSettings) {
    SeedTraces();
    ASSERT_EQ(RunSweep(), 0);
    ExpectNothingCleaned();
    EXPECT_FALSE(KeyExists("Software\\Kavelin Ver 2.0"));
}

TEST_F(KVSweepTest, SecondCleanerDoesNotCleanWhileTheFirstHoldsTheLock) {
    SeedTraces();
    StoreCleanup(Chosen());
    {
        const InstanceLock first("KVSweep");
        ASSERT_TRUE(first.IsHeld());
        EXPECT_EQ(RunSweep(), 1);
        ExpectNothingCleaned();
    }
    ASSERT_EQ(RunSweep(), 0);
    ExpectChosenCleaned();
}

TEST_F(KVSweepTest, RegistersAndUnregistersCleaningAtStart) {
    ASSERT_EQ(RunSweep({"-r"}), 0);
    RegKey run;
    ASSERT_EQ(ERROR_SUCCESS, run.Open(HKEY_CURRENT_USER, kRunKey));
    std::string command;
    ASSERT_EQ(ERROR_SUCCESS, run.QueryStringValue("KVSweep", command));
    EXPECT_TRUE(fs::equivalent(command, KV_SWEEP_PROGRAM)) << command;

    ASSERT_EQ(RunSweep({"-u"}), 0);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, run.QueryStringValue("KVSweep", command));
    EXPECT_EQ(RunSweep({"-u"}), 0);
}

TEST_F(KVSweepTest, SwitchesNeitherCleanNorAreMistakenForOthers) {
    SeedTraces();
    StoreCleanup(Chosen());
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-r"}, {"-u"}, {"-x"}, {"-r", "-u"}, {"r"}}) {
        const int expected = arguments.size() == 1 && (arguments[0] == "-r" || arguments[0] == "-u") ? 0 : 2;
        EXPECT_EQ(RunSweep(arguments), expected) << arguments[0];
    }
    ExpectNothingCleaned();
}

TEST(SweepJobItems, EachStoredFlagSelectsItsItem) {
    struct Case {
        void (*set)(CCleanupSettings&);
        unsigned long item;
    };
    const Case cases[] = {
        {[](CCleanupSettings& s) { s.mCleanupSys.mRun = 1; }, CI_RUN_MRU},
        {[](CCleanupSettings& s) { s.mCleanupSys.mFindComp = 1; }, CI_FIND_COMPUTER},
        {[](CCleanupSettings& s) { s.mCleanupSys.mNetwork = 1; }, CI_NETWORK},
        {[](CCleanupSettings& s) { s.mCleanupSys.mTelnet = 1; }, CI_TELNET},
        {[](CCleanupSettings& s) { s.mCleanupSys.mLogin = 1; }, CI_LAST_LOGON},
        {[](CCleanupSettings& s) { s.mCleanupSys.mFindFile = 1; }, CI_FIND_FILES},
        {[](CCleanupSettings& s) { s.mCleanupSys.mRecycle = 1; }, CI_RECYCLE_BIN},
        {[](CCleanupSettings& s) { s.mCleanupSys.mTemp = 1; }, CI_TEMP_SYS_FILES},
        {[](CCleanupSettings& s) { s.mCleanupSys.mRecent = 1; }, CI_RECENT_FOLDER},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mTempFiles = 1; }, CI_TEMP_INTERNET_FILES},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mCookies = 1; }, CI_COOKIES},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mHistory = 1; }, CI_URL_HISTORY},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mAutoForms = 1; }, CI_AUTO_FORMS},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mAutoPass = 1; }, CI_AUTO_PASS},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mFavourites = 1; }, CI_FAVORITES},
        {[](CCleanupSettings& s) { s.mCleanupInternet.mURLs = 1; }, CI_TYPED_URLS},
        {[](CCleanupSettings& s) {
             s.mCleanupSys.mAll = 1;
             s.mCleanupInternet.mAll = 1;
             s.mCleanupAdvanced.mBrowserExit = 1;
         },
         0},
    };
    for (const Case& c : cases) {
        CCleanupSettings settings;
        c.set(settings);
        EXPECT_EQ(CSweepJob::ItemsOf(settings), c.item) << std::hex << c.item;
    }
}

}  // namespace
