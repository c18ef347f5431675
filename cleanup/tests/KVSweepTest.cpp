#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

struct Ran {
    int status = -1;  // -1: it did not end in time
    std::string errors;  // what it wrote on stderr
};

// Runs a program with this process's environment (so its KAVELIN_ROOT),
// changed by the assignments in env, in the folder cwd when one is given.
Ran RunProgram(const std::vector<std::string>& words, const fs::path& errorsFile,
               const std::vector<std::string>& env = {}, const fs::path& cwd = {}) {
    std::vector<std::string> copied = words;
    std::vector<char*> argv;
    for (std::string& word : copied) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& set : env)
            replaced = replaced || entry.substr(0, entry.find('=') + 1) == set.substr(0, set.find('=') + 1);
        if (!replaced) environment.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 2, errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!cwd.empty()) ::posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    Ran ran;
    if (spawned != 0) return ran;
    int status = 0;
    for (int i = 0; i < 2000; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            ran.errors = ReadFile(errorsFile);
            return ran;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return ran;
}

fs::path ErrorsFile() { return fs::temp_directory_path() / ("kvsweep-errors-" + std::to_string(::getpid())); }

Ran RunSweepFully(const std::vector<std::string>& arguments, const std::vector<std::string>& env = {},
                  const fs::path& cwd = {}) {
    std::vector<std::string> words = {KV_SWEEP_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    Ran ran = RunProgram(words, ErrorsFile(), env, cwd);
    fs::remove(ErrorsFile());
    return ran;
}

// The real program's exit status.
int RunSweep(const std::vector<std::string>& arguments = {}) { return RunSweepFully(arguments).status; }

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
         {std::vector<std::string>{"-r"}, {"-u"}, {"-x"}, {"-r", "-u"}, {"r"}, {""}}) {
        const bool known = arguments.size() == 1 && (arguments[0] == "-r" || arguments[0] == "-u");
        const Ran ran = RunSweepFully(arguments);
        EXPECT_EQ(ran.status, known ? 0 : 2) << arguments[0];
        // A wrong command line is told in one line of usage.
        if (!known) {
            EXPECT_TRUE(ran.errors.starts_with("usage: KVSweep [-r | -u]")) << ran.errors;
            EXPECT_EQ(1, std::count(ran.errors.begin(), ran.errors.end(), '\n')) << ran.errors;
        } else {
            EXPECT_EQ("", ran.errors);
        }
    }
    ExpectNothingCleaned();
}

// Clean at log-on means the desktop starts the cleaner: -r writes its
// autostart entry, a valid desktop entry that starts this program, and -u
// takes it away; the Run value comes and goes with it.
TEST_F(KVSweepTest, StartAtLogOnIsTheDesktopsAutostartEntry) {
    fs::create_directories(configHome());
    const fs::path entry = configHome() / "autostart" / "KVSweep.desktop";
    ASSERT_EQ(RunSweep({"-r"}), 0);
    ASSERT_TRUE(fs::is_regular_file(entry));
    const std::string text = ReadFile(entry);
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\nType=Application\n")) << text;
    const auto exec = text.find("\nExec=\"");
    ASSERT_NE(std::string::npos, exec) << text;
    const std::string program = text.substr(exec + 7, text.find('"', exec + 7) - exec - 7);
    EXPECT_TRUE(fs::equivalent(program, KV_SWEEP_PROGRAM)) << program;
    const Ran validated = RunProgram({"/usr/bin/desktop-file-validate", entry.string()}, root() / "validate.txt");
    EXPECT_EQ(0, validated.status) << "desktop-file-validate (desktop-file-utils): " << validated.errors;
    EXPECT_EQ("", validated.errors);

    ASSERT_EQ(RunSweep({"-r"}), 0);
    EXPECT_EQ(text, ReadFile(entry));
    ASSERT_EQ(RunSweep({"-u"}), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(entry)));
    RegKey run;
    std::string value;
    ASSERT_EQ(ERROR_SUCCESS, run.Open(HKEY_CURRENT_USER, kRunKey));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, run.QueryStringValue("KVSweep", value));
    EXPECT_EQ(RunSweep({"-u"}), 0);
}

TEST_F(KVSweepTest, WithoutAConfigurationFolderStartAtLogOnStillWorks) {
    ASSERT_FALSE(fs::exists(configHome()));
    EXPECT_EQ(RunSweep({"-r"}), 0);
    RegKey run;
    std::string command;
    ASSERT_EQ(ERROR_SUCCESS, run.Open(HKEY_CURRENT_USER, kRunKey));
    EXPECT_EQ(ERROR_SUCCESS, run.QueryStringValue("KVSweep", command));
    EXPECT_EQ(RunSweep({"-u"}), 0);
    EXPECT_FALSE(fs::exists(configHome()));
}

TEST_F(KVSweepTest, AutostartPlaceThatIsNoFileFailsTheSwitch) {
    const fs::path entry = configHome() / "autostart" / "KVSweep.desktop";
    fs::create_directories(entry / "inside");
    EXPECT_EQ(RunSweep({"-r"}), 3);
    EXPECT_EQ(RunSweep({"-u"}), 3);
    EXPECT_TRUE(fs::is_directory(entry / "inside"));
}

// A root that is no folder would leave every file of the user out of reach
// while the registry's traces went: nothing is done and the exit says so.
TEST_F(KVSweepTest, RootThatIsNoFolderIsToldAndNothingIsDone) {
    const fs::path file = root() / "not-a-folder";
    WriteFile(file, "x");
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{}, {"-r"}, {"-u"}}) {
        const Ran ran = RunSweepFully(arguments, {"KAVELIN_ROOT=" + file.string()});
        EXPECT_EQ(ran.status, 4);
        EXPECT_NE(std::string::npos, ran.errors.find("nothing was done")) << ran.errors;
    }
    EXPECT_EQ("x", ReadFile(file));
}

// Run after the change that makes the root absolute at start is merged: a
// root named relative to the starting folder cleans the same files as the
// absolute name does.
TEST_F(KVSweepTest, RelativeRootCleansTheFilesOfThatFolder) {
    SeedTraces();
    StoreCleanup(Chosen());
    const Ran ran = RunSweepFully({}, {"KAVELIN_ROOT=" + root().filename().string()}, root().parent_path());
    EXPECT_EQ(ran.status, 0) << ran.errors;
    ExpectChosenCleaned();
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
