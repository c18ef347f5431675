#include <gtest/gtest.h>

#include <algorithm>

#include "TestHost.h"
#include "panel/app/CKVDeskModule.h"
#include "panel/app/HostRules.h"
#include "panel/main/CBaseDlg.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "support/TempRoot.h"

namespace {

using coretest::TestHost;
using Log = std::vector<std::string>;

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool KeyExists(platform::Hive hive, const std::string& path) {
    platform::RegKey key;
    return key.Open(hive, path, platform::KEY_READ) == platform::ERROR_SUCCESS;
}

std::string StringValue(platform::Hive hive, const std::string& path, const std::string& name) {
    platform::RegKey key;
    if (key.Open(hive, path, platform::KEY_READ) != platform::ERROR_SUCCESS) return "<no key>";
    std::string value;
    if (key.QueryStringValue(name, value) != platform::ERROR_SUCCESS) return "<no value>";
    return value;
}

// The exit road of the main window, as its cancel handler runs it.
void CancelLikeTheMainWindow(TestHost& host) {
    host.OnServerStopped();
    host.Shutdown();
}

std::ptrdiff_t IndexOf(const Log& log, const std::string& step) {
    const auto found = std::find(log.begin(), log.end(), step);
    return found == log.end() ? -1 : found - log.begin();
}

class HostTest : public kvtest::RootedTest {};

TEST_F(HostTest, PanelStartRunsTheEngineThenTheWindowAndExitStopsInOrder) {
    TestHost host;
    host.mainDialog = CancelLikeTheMainWindow;
    ASSERT_EQ(host.InitInstance(), 1);
    host.engine().settings.getCleanupSettings()->mCleanupAdvanced.mWindowsExit = 1;
    host.ExitInstance();

    const Log expected = {
        "SetShuttingDown(false)", "WatchEndRequests", "SetShuttingDown(false)", "InitEngine", "CreateServerThread",
        "SetAnalyzerOnlyHttp(false)", "StartServer", "RunMainDialog",
        // the main window's cancel: stopped notice (ignored from here on), engine stop
        "SetShuttingDown(true)", "StopAnalyzer", "StopHunter", "StopAnalyzingPrivateList", "StopServer",
        "PostQuitToServerThread", "PostQuitToUtilThread",
        // the exit: waits, then the cleaner, exactly once
        "WaitForServerThread", "WaitForUtilThread", "ExitEngine", "Start KVSweep",
    };
    EXPECT_EQ(host.log(), expected);
    EXPECT_EQ(CSettings::mRunningApp, "Kavelin Ver 2.0");
    EXPECT_EQ(CSettings::mAppName, eKVDesk);
}

TEST_F(HostTest, ExitWithoutWindowsExitStartsNoCleaner) {
    TestHost host;
    host.mainDialog = CancelLikeTheMainWindow;
    ASSERT_EQ(host.InitInstance(), 1);
    host.engine().settings.getCleanupSettings()->mCleanupAdvanced.mWindowsExit = 0;
    host.ExitInstance();
    EXPECT_EQ(IndexOf(host.log(), "Start KVSweep"), -1);
    EXPECT_EQ(host.log().back(), "ExitEngine");
}

TEST_F(HostTest, StartDeletesOnlyTheAutoStartValue) {
    {
        platform::RegKey run;
        ASSERT_EQ(run.Create(platform::HKEY_LOCAL_MACHINE, kRunKey), platform::ERROR_SUCCESS);
        run.SetStringValue("KVAutoStart", "KVDesk");
        run.SetStringValue("Other", "other");
    }
    TestHost host({"/Embedding"});
    host.InitInstance();
    EXPECT_EQ(StringValue(platform::HKEY_LOCAL_MACHINE, kRunKey, "KVAutoStart"), "<no value>");
    EXPECT_EQ(StringValue(platform::HKEY_LOCAL_MACHINE, kRunKey, "Other"), "other");
}

TEST_F(HostTest, AutomationModeRunsTheLoopWithoutEngineOrWindow) {
    for (const char* flag : {"/Embedding", "-Automation"}) {
        TestHost host({flag});
        EXPECT_EQ(host.InitInstance(), 1) << flag;
        EXPECT_FALSE(host.WaitForEngineStop()) << "no engine was started";
        host.ExitInstance();
        EXPECT_EQ(host.log(), (Log{"SetShuttingDown(false)", "WatchEndRequests"})) << flag;
    }
}

TEST_F(HostTest, RegserverRegistersTheAppIdAndUnregserverRemovesIt) {
    const std::string appIdKey = std::string("AppID\\") + CKVDeskModule::kAppId;
    {
        TestHost host({"/Regserver"});
        EXPECT_EQ(host.InitInstance(), 0);
        host.ExitInstance();
        EXPECT_EQ(host.log(), (Log{"SetShuttingDown(false)"})) << "no engine, no window";
    }
    EXPECT_EQ(StringValue(platform::HKEY_CLASSES_ROOT, appIdKey, ""), "KVDesk");
    EXPECT_EQ(StringValue(platform::HKEY_CLASSES_ROOT, "AppID\\KVDesk.EXE", "AppID"), CKVDeskModule::kAppId);
    {
        TestHost host({"-UnregServer"});
        EXPECT_EQ(host.InitInstance(), 0);
        host.ExitInstance();
    }
    EXPECT_FALSE(KeyExists(platform::HKEY_CLASSES_ROOT, appIdKey));
    EXPECT_FALSE(KeyExists(platform::HKEY_CLASSES_ROOT, "AppID\\KVDesk.EXE"));
}

// Without its object (no session bus, say) the panel still runs; a
// window-less start has nothing to serve and ends.
TEST_F(HostTest, FailedClassRegistrationEndsOnlyTheWindowLessStart) {
    CKVDeskModule::SetObjectMap({[](CKVDeskModule::eNameClaim) { return false; }, nullptr, nullptr, nullptr});
    {
        TestHost host;
        host.mainDialog = CancelLikeTheMainWindow;
        EXPECT_EQ(host.InitInstance(), 1);
        host.ExitInstance();
        EXPECT_NE(IndexOf(host.log(), "InitEngine"), -1);
        EXPECT_NE(IndexOf(host.log(), "RunMainDialog"), -1);
        EXPECT_NE(IndexOf(host.log(), "WatchEndRequests"), -1);
    }
    {
        TestHost host({"-Embedding"});
        EXPECT_EQ(host.InitInstance(), 0);
        EXPECT_EQ(host.log(), (Log{"SetShuttingDown(false)"}));
    }
    CKVDeskModule::SetObjectMap({});
}

// The instance that runs the engine takes the automation name; a
// window-less one yields it; registration serves nothing.
TEST_F(HostTest, EachStartClaimsTheAutomationNameAsItsModeSays) {
    using eNameClaim = CKVDeskModule::eNameClaim;
    std::vector<eNameClaim> claims;
    int revoked = 0;
    CKVDeskModule::SetObjectMap({[&](eNameClaim claim) {
                                     claims.push_back(claim);
                                     return true;
                                 },
                                 [&] { ++revoked; }, nullptr, nullptr});
    const std::pair<std::vector<std::string>, std::vector<eNameClaim>> cases[] = {
        {{}, {eNameClaim::Take}},
        {{"-Embedding"}, {eNameClaim::Yield}},
        {{"/Automation"}, {eNameClaim::Yield}},
        {{"-RegServer"}, {}},
        {{"/UnregServer"}, {}},
    };
    for (const auto& [arguments, expected] : cases) {
        claims.clear();
        revoked = 0;
        TestHost host(arguments);
        host.mainDialog = CancelLikeTheMainWindow;
        host.InitInstance();
        host.ExitInstance();
        EXPECT_EQ(claims, expected) << (arguments.empty() ? "panel" : arguments[0]);
        EXPECT_EQ(revoked, expected.empty() ? 0 : 1);
    }
    CKVDeskModule::SetObjectMap({});
}

TEST_F(HostTest, AnEndRequestWithoutTheMainWindowEndsTheWindowLessLoop) {
    TestHost host({"-Embedding"});
    ASSERT_EQ(host.InitInstance(), 1);
    platform::MSG message;
    while (platform::PeekMessage(message)) {
    }
    host.EndOrderly();
    ASSERT_TRUE(platform::PeekMessage(message));
    EXPECT_EQ(message.message, platform::WM_QUIT);
    host.ExitInstance();
}

TEST_F(HostTest, StartUpReadsTheWorkingCopyFromTheProgramsRootKey) {
    CSettings::mRunningApp = kDefaultRunningApp;
    CSettings stored;
    stored.getPrivacySettings()->mListenerPort = 18123;
    ASSERT_TRUE(stored.SetRegistry());
    CSettings::mRunningApp = "Some Other Program";

    TestHost host;
    host.mainDialog = [](TestHost& h) {
        EXPECT_EQ(h.GetSettings().getPrivacySettings()->mListenerPort, 18123u);
        CancelLikeTheMainWindow(h);
    };
    ASSERT_EQ(host.InitInstance(), 1);
    host.ExitInstance();
}

TEST_F(HostTest, ToolbarStatusSendsIncomingOutgoingAndPrivacyStates) {
    struct Case {
        bool in;
        platform::DWORD out;
        platform::DWORD shielding;
        Log sent;
    };
    const Case cases[] = {
        {true, 1, 1, {"SendProxyStatusChange(7)", "SendProxyStatusChange(5)", "SendProxyStatusChange(9)"}},
        {false, 0, 0, {"SendProxyStatusChange(8)", "SendProxyStatusChange(6)", "SendProxyStatusChange(10)"}},
        {false, 2, 3, {"SendProxyStatusChange(8)", "SendProxyStatusChange(5)", "SendProxyStatusChange(9)"}},
    };
    for (const Case& c : cases) {
        TestHost host;
        CSettings& engine = host.engine().settings;
        engine.getFiltrationSettings()->mInFiltration.setEnable(c.in);
        engine.getFiltrationSettings()->mOutFiltration.mEnable = c.out;
        engine.getPrivacySettings()->mEnableIPShielding = c.shielding;
        // The working copy is not what the toolbar is told about.
        host.GetSettings().getPrivacySettings()->mEnableIPShielding = c.shielding ? 0 : 1;
        host.UpdateToolBarStatus();
        EXPECT_EQ(host.log(), c.sent);
    }
}

TEST_F(HostTest, HelpOpensThroughXdgOpenWithThePathAsOneArgument) {
    TestHost host;
    host.programFolder = "/opt/Kavelin Pro";
    host.ShowHelp();
    EXPECT_EQ(host.log(), (Log{"Start xdg-open [/opt/Kavelin Pro/hlp/KavelinPro.html]"}));
}

// The build puts the help page where the running program's help looks.
TEST_F(HostTest, TheHelpPageIsShippedBesideThePrograms) {
    const std::filesystem::path page = hostrules::HelpFile(platform::ProgramImageFolder());
    ASSERT_TRUE(std::filesystem::is_regular_file(page)) << page;
    const std::string text = kvtest::ReadFile(page);
    EXPECT_NE(text.find("<title>Kavelin 2.2 Professional: Help</title>"), std::string::npos);
}

TEST_F(HostTest, MadePageSlotHandsThePageOverOnce) {
    TestHost host;
    EXPECT_EQ(CServerHost::Current(), &host);
    EXPECT_EQ(host.TakeMadePage(), nullptr);
}

TEST_F(HostTest, EngineCommandsWithoutAnEngineDoNothing) {
    CServerHost host;
    EXPECT_EQ(host.GetProxyServer(), nullptr);
    EXPECT_TRUE(host.StartServer());
    EXPECT_TRUE(host.StopServer());
    EXPECT_FALSE(host.WaitForEngineStop());
}

}  // namespace
