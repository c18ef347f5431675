#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CloseWatchSupport.h"
#include "GuiTest.h"
#include "cleanup/CCleanOnBrsExit.h"
#include "cleanup/CCleanOnNetscapeExit.h"
#include "cleanup/CCleanOnOpExit.h"
#include "cleanup/closewatch/CloseWatch.h"
#include "cleanup/closewatch/CloseWatchRecord.h"
#include "platform/Library.h"
#include "platform/Process.h"
#include "platform/Root.h"

namespace {

using namespace platform;
using namespace std::chrono_literals;

// Top-level windows made on the test's display through a connection of the
// test's own, as a browser would make its frames.
class Display {
public:
    Display() : connection_(xcb_connect(nullptr, nullptr)) {
        EXPECT_FALSE(xcb_connection_has_error(connection_));
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~Display() { xcb_disconnect(connection_); }

    // A window with WM_CLASS instance and class; no property when both are
    // empty.
    xcb_window_t Create(std::string_view instance, std::string_view className) {
        return CreateIn(root_, instance, className);
    }
    // The same inside parent, as a window manager's frame holds a program's
    // window.
    xcb_window_t CreateIn(xcb_window_t parent, std::string_view instance, std::string_view className) {
        const xcb_window_t window = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (!instance.empty() || !className.empty()) SetClass(window, instance, className);
        Sync();
        return window;
    }
    void SetClass(xcb_window_t window, std::string_view instance, std::string_view className) {
        std::string value(instance);
        value += '\0';
        value += className;
        value += '\0';
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                            XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(value.size()), value.data());
        Sync();
    }
    void Destroy(xcb_window_t window) {
        xcb_destroy_window(connection_, window);
        Sync();
    }

private:
    void Sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

template <typename Function>
Function Export(const char* name) {
    return reinterpret_cast<Function>(
        GetProcAddress(LoadLibrary(ProgramImageFolder() / "CloseWatch.dll"), name));
}

class CloseWatchGuiTest : public closewatchtest::CloseWatchTest {
protected:
    ~CloseWatchGuiTest() override { CCleanOnBrsExit(notify()).StopHook(); }

    static int Frames() { return CloseWatchRecord::Open()->nFrameCount(); }
    static bool WaitForFrames(int count) {
        return kvtest::PumpUiUntil([count] { return Frames() == count; }, 5s);
    }
    bool WaitForLastClose(int times) {
        return WaitForCleanerStarts(times, [] { kvtest::PumpUi(5ms); }) &&
               kvtest::PumpUiUntil([&] { return Notices() == times; }, 5s);
    }

    Display display;
};

TEST_F(CloseWatchGuiTest, LastFrameClosedStartsCleanerOnceAndTellsWindow) {
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    EXPECT_EQ(static_cast<DWORD>(::getpid()), CloseWatchRecord::Open()->owner());
    EXPECT_EQ(notify(), CloseWatchRecord::Open()->hNotifyWnd());
    const xcb_window_t first = display.Create("iexplore", "IEFrame");
    const xcb_window_t second = display.Create("iexplore", "IEFrame");
    ASSERT_TRUE(WaitForFrames(2));
    display.Destroy(first);
    ASSERT_TRUE(WaitForFrames(1));
    kvtest::PumpUi(20ms);
    EXPECT_EQ(0, Notices());
    EXPECT_EQ(0, CleanerStarts());
    display.Destroy(second);
    ASSERT_TRUE(WaitForLastClose(1));
    EXPECT_EQ(0, Frames());
    kvtest::PumpUi(50ms);
    EXPECT_EQ(1, Notices());
    EXPECT_EQ(1, CleanerStarts());
}

TEST_F(CloseWatchGuiTest, FramesOpenWhenArmedAreCounted) {
    const xcb_window_t before = display.Create("iexplore", "IEFrame");
    display.Create("other", "Other");
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    EXPECT_EQ(1, Frames());
    display.Destroy(before);
    ASSERT_TRUE(WaitForLastClose(1));
    EXPECT_EQ(0, Frames());
}

TEST_F(CloseWatchGuiTest, FramesInsideManagerFramesWhenArmedAreCounted) {
    const xcb_window_t managerFrame = display.Create("", "");
    const xcb_window_t frame = display.CreateIn(managerFrame, "iexplore", "IEFrame");
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    EXPECT_EQ(1, Frames());
    display.Destroy(frame);
    ASSERT_TRUE(WaitForLastClose(1));
}

TEST_F(CloseWatchGuiTest, OnlyTheExactFrameClassCounts) {
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    for (const auto& [instance, className] :
         {std::pair{"iexplore", "ieframe"}, {"iexplore", "IEFrame2"}, {"iexplore", "IEFram"},
          {"iexplore", " IEFrame"}, {"IEFrame", "Other"}, {"", ""}})
        display.Create(instance, className);
    // The watch tells changes in the order they were made: once this frame
    // is counted, every window before it was judged.
    const xcb_window_t frame = display.Create("iexplore", "IEFrame");
    ASSERT_TRUE(WaitForFrames(1));
    display.Destroy(frame);
    ASSERT_TRUE(WaitForLastClose(1));
}

TEST_F(CloseWatchGuiTest, ClassGivenAfterCreationCounts) {
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    const xcb_window_t window = display.Create("", "");
    display.SetClass(window, "iexplore", "IEFrame");
    ASSERT_TRUE(WaitForFrames(1));
    display.Destroy(window);
    ASSERT_TRUE(WaitForLastClose(1));
}

TEST_F(CloseWatchGuiTest, OneWindowArmsAndOnlyItDisarms) {
    const auto setHook = Export<PFNSETHOOK>("SetHook");
    const auto clearHook = Export<PFNCLEARHOOK>("ClearHook");
    ASSERT_TRUE(setHook && clearHook);
    const HWND other = CreateMessageWindow("Other", "", DefWindowProc);
    ASSERT_TRUE(setHook(notify()));
    EXPECT_FALSE(setHook(other));
    EXPECT_FALSE(setHook(notify()));
    EXPECT_EQ(notify(), CloseWatchRecord::Open()->hNotifyWnd());
    EXPECT_FALSE(clearHook(other));
    EXPECT_TRUE(clearHook(notify()));
    EXPECT_FALSE(clearHook(notify()));
    EXPECT_EQ(0u, CloseWatchRecord::Open()->owner());
    // The loaders do not report the library's refusals.
    EXPECT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    EXPECT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    EXPECT_TRUE(CCleanOnBrsExit(other).StopHook());
    EXPECT_EQ(notify(), CloseWatchRecord::Open()->hNotifyWnd());
    DestroyWindow(other);
}

TEST_F(CloseWatchGuiTest, AllThreeLoadersArmOnlyTheSystemBrowserHook) {
    EXPECT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    EXPECT_FALSE(CCleanOnNetscapeExit(notify()).StartHook());
    EXPECT_FALSE(CCleanOnOpExit(notify()).StartHook());
    EXPECT_EQ(notify(), CloseWatchRecord::Open()->hNotifyWnd());
    EXPECT_TRUE(CCleanOnBrsExit(notify()).StopHook());
    EXPECT_FALSE(CCleanOnNetscapeExit(notify()).StopHook());
    EXPECT_FALSE(CCleanOnOpExit(notify()).StopHook());
    EXPECT_EQ(0u, CloseWatchRecord::Open()->owner());
}

TEST_F(CloseWatchGuiTest, RecordOfEndedProcessCanBeArmedAgain) {
    const Process ended = StartProcess("/bin/true");
    ASSERT_TRUE(ended.IsValid());
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return !ended.IsRunning(); }, 5s));
    auto record = CloseWatchRecord::Open();
    ASSERT_TRUE(record->Reserve(ended.id()));
    record->Publish(HWND(99));
    ASSERT_TRUE(Export<PFNSETHOOK>("SetHook")(notify()));
    EXPECT_EQ(notify(), record->hNotifyWnd());
}

TEST_F(CloseWatchGuiTest, DisarmedWatchCountsNothing) {
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StartHook());
    const xcb_window_t frame = display.Create("iexplore", "IEFrame");
    ASSERT_TRUE(WaitForFrames(1));
    ASSERT_TRUE(CCleanOnBrsExit(notify()).StopHook());
    display.Destroy(frame);
    display.Create("iexplore", "IEFrame");
    kvtest::PumpUi(100ms);
    EXPECT_EQ(1, Frames());
    EXPECT_EQ(0, Notices());
    EXPECT_EQ(0, CleanerStarts());
}

}  // namespace
