#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "CloseWatchSupport.h"
#include "cleanup/CCleanOnBrsExit.h"
#include "cleanup/CCleanOnNetscapeExit.h"
#include "cleanup/CCleanOnOpExit.h"
#include "cleanup/closewatch/CloseWatch.h"
#include "cleanup/closewatch/CloseWatchRecord.h"
#include "cleanup/closewatch/ShellHook.h"
#include "platform/Library.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Root.h"

namespace {

using namespace platform;
using closewatchtest::CloseWatchTest;

void DrainQueue() {
    MSG msg;
    while (PeekMessage(msg)) DispatchMessage(msg);
}

void Pump() {
    DrainQueue();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

struct Notice {
    int code;
    const char* className;
};

struct HookCase {
    const char* name;
    std::vector<Notice> notices;
    int frames;  // the count afterwards
    int starts;  // cleaner starts and notify messages
};

void PrintTo(const HookCase& c, std::ostream* os) { *os << c.name; }

class ShellHookTest : public CloseWatchTest, public ::testing::WithParamInterface<HookCase> {};

TEST_P(ShellHookTest, CountsFramesAndStartsCleanerWhenLastCloses) {
    auto record = CloseWatchRecord::Open();
    ASSERT_TRUE(record);
    record->Publish(notify());
    int beeps = 0;
    ShellHook hook(std::move(*record), RegisterWindowMessage(kLastBrowserClosedName), [&] { ++beeps; });
    int frameNotices = 0;
    for (const Notice& notice : GetParam().notices) {
        hook.ShellHookProc(notice.code, notice.className);
        if ((notice.code == 1 || notice.code == 2) && std::string(notice.className) == "IEFrame")
            ++frameNotices;
    }
    EXPECT_EQ(GetParam().frames, CloseWatchRecord::Open()->nFrameCount());
    EXPECT_EQ(frameNotices, beeps);
    EXPECT_TRUE(WaitForCleanerStarts(GetParam().starts, Pump));
    DrainQueue();
    EXPECT_EQ(GetParam().starts, Notices());
}

INSTANTIATE_TEST_SUITE_P(
    Notices, ShellHookTest,
    ::testing::Values(
        HookCase{"OneFrameOpenedAndClosed", {{1, "IEFrame"}, {2, "IEFrame"}}, 0, 1},
        HookCase{"SecondOfTwoFramesCloses",
                 {{1, "IEFrame"}, {1, "IEFrame"}, {2, "IEFrame"}, {2, "IEFrame"}}, 0, 1},
        HookCase{"OneOfTwoFramesCloses", {{1, "IEFrame"}, {1, "IEFrame"}, {2, "IEFrame"}}, 1, 0},
        HookCase{"FrameUncountedAtOpenCloses", {{2, "IEFrame"}, {1, "IEFrame"}, {2, "IEFrame"}}, -1, 0},
        HookCase{"TwoRoundsStartTwice",
                 {{1, "IEFrame"}, {2, "IEFrame"}, {1, "IEFrame"}, {2, "IEFrame"}}, 0, 2},
        HookCase{"OtherClassesAreNotFrames",
                 {{1, "ieframe"}, {1, "IEFrame "}, {1, "IEFram"}, {1, "XIEFrame"}, {1, ""},
                  {2, "IEFRAME"}},
                 0, 0},
        HookCase{"OtherCodesAreIgnored", {{-1, "IEFrame"}, {0, "IEFrame"}, {3, "IEFrame"}}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CloseWatchTest, CleanerCommandFollowsStoredFolder) {
    EXPECT_EQ(cleanerFolder().string() + "/KVSweep", ShellHook::CleanerCommand());
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, "Software\\Kavelin Ver 2.0\\KVPath"));
    // The stored folder is used as it stands, without a separator added.
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Path", "/opt/kv"));
    EXPECT_EQ("/opt/kvKVSweep", ShellHook::CleanerCommand());
    // A folder that does not fit the buffer is not cut: the bare name stays.
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Path", std::string(260, 'a')));
    EXPECT_EQ("KVSweep", ShellHook::CleanerCommand());
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("Path", 1));
    EXPECT_EQ("KVSweep", ShellHook::CleanerCommand());
    ASSERT_EQ(ERROR_SUCCESS, key.DeleteValue("Path"));
    EXPECT_EQ("KVSweep", ShellHook::CleanerCommand());
}

TEST_F(CloseWatchTest, NotifyWindowThatIsGoneChangesNothing) {
    auto record = CloseWatchRecord::Open();
    ASSERT_TRUE(record);
    const HWND gone = CreateMessageWindow("Gone", "", DefWindowProc);
    DestroyWindow(gone);
    record->Publish(gone);
    ShellHook hook(std::move(*record), RegisterWindowMessage(kLastBrowserClosedName), {});
    hook.ShellHookProc(1, "IEFrame");
    hook.ShellHookProc(2, "IEFrame");
    EXPECT_TRUE(WaitForCleanerStarts(1, Pump));
    EXPECT_EQ(0, CloseWatchRecord::Open()->nFrameCount());
}

// A process id that no process holds any more.
DWORD EndedProcess() {
    const Process ended = StartProcess("/bin/true");
    EXPECT_TRUE(ended.IsValid());
    for (int i = 0; i < 500 && ended.IsRunning(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(ended.IsRunning());
    return ended.id();
}

TEST_F(CloseWatchTest, RecordIsHeldByOneLiveProcess) {
    auto record = CloseWatchRecord::Open();
    ASSERT_TRUE(record);
    const DWORD self = static_cast<DWORD>(::getpid());
    // Process 1 always runs: while it holds the record no one else takes it.
    ASSERT_TRUE(record->Reserve(1));
    EXPECT_FALSE(record->Reserve(self));
    record->Release(self);
    EXPECT_EQ(1u, CloseWatchRecord::Open()->owner());
    record->Release(1);
    EXPECT_EQ(0u, record->owner());

    ASSERT_TRUE(record->Reserve(EndedProcess()));
    record->Publish(HWND(7));
    EXPECT_TRUE(record->Reserve(self));
    EXPECT_EQ(self, record->owner());
    EXPECT_FALSE(record->hNotifyWnd());
    EXPECT_FALSE(record->Reserve(self));
}

TEST_F(CloseWatchTest, RecordIsSharedWithinOneRootOnly) {
    auto first = CloseWatchRecord::Open();
    ASSERT_TRUE(first);
    first->SeedFrames(3);
    EXPECT_EQ(3, CloseWatchRecord::Open()->nFrameCount());
    {
        kvtest::TempRoot other;
        auto elsewhere = CloseWatchRecord::Open();
        ASSERT_TRUE(elsewhere);
        EXPECT_EQ(0, elsewhere->nFrameCount());
        CloseWatchRecord::Remove();
    }
    EXPECT_EQ(3, CloseWatchRecord::Open()->nFrameCount());
}

template <typename Function>
Function Export(const char* name) {
    return reinterpret_cast<Function>(
        GetProcAddress(LoadLibrary(ProgramImageFolder() / "CloseWatch.dll"), name));
}

TEST_F(CloseWatchTest, ArmingWithoutDisplayFailsAndLeavesRecordFree) {
    const auto setHook = Export<PFNSETHOOK>("SetHook");
    const auto clearHook = Export<PFNCLEARHOOK>("ClearHook");
    ASSERT_TRUE(setHook && clearHook);
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    EXPECT_FALSE(setHook(notify()));
    // The loader does not report the library's refusal.
    EXPECT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(0u, CloseWatchRecord::Open()->owner());
    EXPECT_FALSE(setHook(HWND()));
    EXPECT_FALSE(clearHook(notify()));
    EXPECT_TRUE(CCleanOnBrsExit(notify()).StopHook());
}

TEST(SharedObjectPathTest, MapsDllNamesToSharedObjectsInSameFolder) {
    struct Case {
        const char* given;
        const char* expected;
    };
    for (const Case& c : {Case{"/p/CloseWatch.dll", "/p/libCloseWatch.so"},
                          Case{"/p/Opera.DLL", "/p/libOpera.so"},
                          Case{"/p/libX.so", "/p/libX.so"}, Case{"/p/.dll", "/p/.dll"},
                          Case{"/p/X.dllx", "/p/X.dllx"}})
        EXPECT_EQ(c.expected, SharedObjectPath(c.given).string()) << c.given;
}

TEST(LibraryTest, LoadsOnceAndFindsExportsByName) {
    const HMODULE first = LoadLibrary(ProgramImageFolder() / "CloseWatch.dll");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, LoadLibrary(ProgramImageFolder() / "libCloseWatch.so"));
    EXPECT_NE(nullptr, GetProcAddress(first, "SetHook"));
    EXPECT_NE(nullptr, GetProcAddress(first, "ClearHook"));
    EXPECT_EQ(nullptr, GetProcAddress(first, "NoSuchExport"));
    EXPECT_EQ(nullptr, GetProcAddress(nullptr, "SetHook"));
    EXPECT_EQ(nullptr, LoadLibrary(ProgramImageFolder() / "Missing.dll"));
    EXPECT_EQ(nullptr, LoadLibrary("CloseWatch.dll"));
}

TEST_F(CloseWatchTest, LoadersOfMissingLibrariesDoNothing) {
    CCleanOnNetscapeExit netscape(notify());
    CCleanOnOpExit opera(notify());
    EXPECT_FALSE(netscape.StartHook());
    EXPECT_FALSE(netscape.StopHook());
    EXPECT_FALSE(opera.StartHook());
    EXPECT_FALSE(opera.StopHook());
    EXPECT_EQ(0u, CloseWatchRecord::Open()->owner());
}

}  // namespace
