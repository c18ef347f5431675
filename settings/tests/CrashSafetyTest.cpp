// The configurators in processes of their own, as the relay and the panel
// run them: killed at every write of a start or a stop, the next start and
// stop still give every program exactly what the user had; and the
// environment a program is started with (a relative root, no desktop proxy
// schema, no root at all) never costs the user a setting.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "ChildProcess.h"
#include "ConfigFixture.h"
#include "GoldenConfig.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "settings/CSettings.h"

namespace {
using namespace cfgtest;
using platform::HKEY_CURRENT_USER;

// Far more than a start or a stop writes: a run past it means the hook
// does not count.
constexpr int kMaxWrites = 200;

class CrashSafetyTest : public ConfigTest {
protected:
    using Env = std::map<std::string, std::optional<std::string>>;

    // The child's environment: this test's root, and the desktop's proxy
    // setting in a key file below it.
    Env ChildEnv() const {
        const fs::path root = platform::UserRoot();
        return {{"KAVELIN_ROOT", root.string()},
                {"GSETTINGS_BACKEND", "keyfile"},
                {"GSETTINGS_SCHEMA_DIR", std::nullopt},
                {"XDG_CONFIG_HOME", (root / "xdg/config").string()},
                {"XDG_DATA_HOME", (root / "xdg/data").string()},
                {"XDG_CACHE_HOME", (root / "xdg/cache").string()},
                {"KAVELIN_KILL_AFTER_WRITES", std::nullopt}};
    }

    ChildResult Step(const std::vector<std::string>& args, Env extra = {}) const {
        ChildRun run{{ConfigChild()}, ChildEnv(), {}, false};
        run.args.insert(run.args.end(), args.begin(), args.end());
        for (auto& [name, value] : extra) run.env[name] = value;
        return RunChild(run);
    }

    void ExpectDone(const ChildResult& r, const char* what) const {
        EXPECT_TRUE(r.exited && r.exitCode == 0) << what << ": " << r.output;
    }

    // A user with every value that is easy to lose: the browser's own proxy
    // flag, MSN's "ProxyState", zeros and empty texts (the fixture's
    // seeds), private files, client files that are not there yet, and
    // desktop keys both set and at their defaults.
    void SeedLossyUser() {
        SeedUserPrograms();
        const auto owner = fs::perms::owner_read | fs::perms::owner_write;
        fs::permissions(PrefsFile(), owner);
        fs::permissions(WsFtpFile(), owner);
        fs::remove(MircFile());
        fs::remove(OperaFile());
        std::vector<std::string> desktop = {"set-desktop"};
        for (const auto& value : UserDesktop()) desktop.push_back(value.key + "=" + value.text.value_or(""));
        ExpectDone(Step(desktop), "seeding the desktop");

        CSettings s;
        s.getPrivacySettings()->mListenerType = 2;   // HTTP: every program is written
        s.getPrivacySettings()->mListenerPort = kPort;
        s.getGeneralSettings()->setStartingIP("10.1.2.3");
        *s.getSysConfig() = Only(AllPrograms());
        s.getSysConfig()->setAutoKazaaServerUserName("kuser");
        s.getSysConfig()->setAutoKazaaServerPassword("kpass");
        ASSERT_TRUE(s.SetRegistry());
    }

    // Everything of the user's that the relay may change, as text, with the
    // desktop's keys as a child printed them ("config_child desktop").
    std::string Everything(const std::string& desktop) const {
        std::string out;
        for (const char* key : {kIEKey, kMsnKey, kYahooKey, kCuteFtpKey, kKazaaKey}) {
            out += std::string("[") + key + "]\n" + DumpValues(ReadKey(HKEY_CURRENT_USER, key));
        }
        for (const fs::path& file : {PrefsFile(), OperaFile(), MircFile(), WsFtpFile()}) {
            out += "[" + file.filename().string() + "]\n";
            if (!fs::exists(file)) {
                out += "(none)\n";
                continue;
            }
            char mode[8];
            std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(fs::status(file).permissions()));
            out += std::string("mode ") + mode + "\n" + kvtest::ReadFile(file) + "\n";
        }
        return out + "[desktop]\n" + desktop;
    }
};

// The roots of the many runs go to memory where the machine has it: flushes
// cost nothing there, and a killed process loses nothing a flush would keep.
class MemoryTempFolder {
public:
    MemoryTempFolder() {
        if (const char* old = std::getenv("TMPDIR")) previous_ = old;
        std::error_code ec;
        if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
    }
    ~MemoryTempFolder() {
        if (previous_) setenv("TMPDIR", previous_->c_str(), 1);
        else unsetenv("TMPDIR");
    }
    MemoryTempFolder(const MemoryTempFolder&) = delete;
    MemoryTempFolder& operator=(const MemoryTempFolder&) = delete;

private:
    std::optional<std::string> previous_;
};

// Copies a root, modes included, into the (empty) current one.
void CopyRoot(const fs::path& from) {
    fs::copy(from, platform::UserRoot(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

TEST_F(CrashSafetyTest, CrashAtAnyWriteOfAStartOrStopLosesNothing) {
    const MemoryTempFolder memory;
    // The user, and the same user after a clean start: the states the
    // start and the stop begin from.
    kvtest::TempRoot seeded;
    SeedLossyUser();
    const std::string user = Everything(Step({"desktop"}).output);
    kvtest::TempRoot started;
    CopyRoot(seeded.path());
    ExpectDone(Step({"start"}), "the start before the stop");

    for (const auto& [phase, from] : {std::pair{"start", &seeded}, std::pair{"stop", &started}}) {
        int crashes = 0;
        for (int n = 1; n <= kMaxWrites; ++n) {
            kvtest::TempRoot fresh;
            CopyRoot(from->path());
            const ChildResult crashed = Step({phase}, {{"KAVELIN_KILL_AFTER_WRITES", std::to_string(n)}});
            ASSERT_TRUE(crashed.killed || (crashed.exited && crashed.exitCode == 0)) << crashed.output;
            // The next start, a clean stop, and a look at the desktop's keys.
            const ChildResult after = Step({"start", "stop", "desktop"});
            ASSERT_TRUE(after.exited && after.exitCode == 0) << after.output;
            ASSERT_EQ(Everything(after.output), user) << "killed after write " << n << " of a " << phase;
            if (!crashed.killed) break;
            ++crashes;
            ASSERT_LT(n, kMaxWrites) << "the " << phase << " never ended";
        }
        // Every program and the desktop's setting are written at least
        // once: fewer kill points would mean some went unchecked.
        EXPECT_GT(crashes, 15) << phase;
    }
}

TEST_F(CrashSafetyTest, RelativeRootIsTheSameFolderForEveryConfigurator) {
    SeedUserPrograms();
    CSettings s;
    s.getPrivacySettings()->mListenerPort = kPort;
    *s.getSysConfig() = Only(AllPrograms());
    ASSERT_TRUE(s.SetRegistry());
    const fs::path root = platform::UserRoot();
    std::map<Program, std::string> user;
    for (const Program p : AllPrograms()) user[p] = Dump(p);

    for (const std::string command : {"start", "stop"}) {
        ChildRun run{{ConfigChild(), command}, ChildEnv(), root.parent_path(), false};
        run.env["KAVELIN_ROOT"] = root.filename().string();
        const ChildResult r = RunChild(run);
        ExpectDone(r, command.c_str());
        for (const Program p : {Program::MSN, Program::Netscape, Program::Opera, Program::Mirc, Program::WSFTP}) {
            if (command == "start") EXPECT_EQ(Dump(p), Golden(p, 2)) << Name(p) << " after the start";
            else EXPECT_EQ(Dump(p), user[p]) << Name(p) << " after the stop";
        }
    }
}

TEST_F(CrashSafetyTest, RelativeRootThatCannotBeMadeAbsoluteIsRefused) {
    const fs::path gone = platform::UserRoot() / "gone";
    fs::create_directories(gone);
    ChildRun run{{ConfigChild(), "start"}, ChildEnv(), gone, true};
    run.env["KAVELIN_ROOT"] = "relative/root";
    const ChildResult r = RunChild(run);
    EXPECT_TRUE(r.exited && r.exitCode != 0) << r.output;
    EXPECT_NE(r.output.find("KAVELIN_ROOT \"relative/root\" is a relative path"), std::string::npos) << r.output;
}

TEST_F(CrashSafetyTest, WithoutTheDesktopSchemaNothingChangesThereAndNothingFails) {
    SeedUserPrograms();
    CSettings s;
    s.getPrivacySettings()->mListenerPort = kPort;
    *s.getSysConfig() = Only(AllPrograms());
    ASSERT_TRUE(s.SetRegistry());
    std::map<Program, std::string> user;
    for (const Program p : AllPrograms()) user[p] = Dump(p);
    const fs::path noSchemas = platform::UserRoot() / "no-schemas";
    fs::create_directories(noSchemas);
    const Env without = {{"XDG_DATA_DIRS", noSchemas.string()}};

    EXPECT_EQ(Step({"desktop"}, without).output, "unavailable\n");
    ExpectDone(Step({"start"}, without), "start");
    // The browser's options are pointed at the relay all the same.
    const std::string browser = Golden(Program::IE, 2);
    EXPECT_EQ(DumpValues(ReadKey(HKEY_CURRENT_USER, kIEKey)), browser.substr(0, browser.find("[desktop]")));
    EXPECT_EQ(Dump(Program::MSN), Golden(Program::MSN, 2));
    ExpectDone(Step({"stop"}, without), "stop");
    for (const Program p : AllPrograms()) EXPECT_EQ(Dump(p), user[p]) << Name(p);
    EXPECT_FALSE(fs::exists(platform::UserRoot() / "xdg/config/glib-2.0")) << "the desktop's store was written";
}

TEST_F(CrashSafetyTest, ProgramsStartedWithoutARootTouchNothingOfTheUsers) {
    // As a test program of the relay library does when its cases are only
    // listed: the manager is made before main, with the user's own home.
    const fs::path home = platform::UserRoot() / "home";
    const fs::path hive = home / ".local/share/kavelin/registry/HKCU.reg";
    kvtest::WriteFile(hive, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + std::string(kIEKey) +
                                "]\n\"Flags\"=dword:00000003\n\n");
    const std::string before = kvtest::ReadFile(hive);
    ChildRun run{{ConfigChild(), "none"}, {{"KAVELIN_ROOT", std::nullopt}, {"XDG_DATA_HOME", std::nullopt},
                                           {"HOME", home.string()}}, {}, false};
    ExpectDone(RunChild(run), "none");
    EXPECT_EQ(kvtest::ReadFile(hive), before);
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(home)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    const std::vector<fs::path> seeded = {home / ".local", home / ".local/share", home / ".local/share/kavelin",
                                          home / ".local/share/kavelin/registry", hive};
    EXPECT_EQ(files, seeded);

    fs::remove_all(home);
    fs::create_directories(home);
    ExpectDone(RunChild(run), "none, in an empty home");
    EXPECT_TRUE(fs::is_empty(home));
}

}  // namespace
