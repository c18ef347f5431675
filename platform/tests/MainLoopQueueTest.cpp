#include <gtest/gtest.h>
#include <wx/frame.h>

#include <atomic>
#include <thread>
#include <vector>

#include "GuiTest.h"
#include "platform/Messages.h"
#include "support/TempRoot.h"

namespace {

class MainLoopQueueTest : public kvtest::RootedTest {};

// Posts from other threads reach a window of the GUI thread through the
// toolkit's loop, in the order they were posted, and a WM_QUIT is kept out.
TEST_F(MainLoopQueueTest, PostsFromOtherThreadsAreDispatchedInOrderByTheGuiLoop) {
    std::vector<platform::WPARAM> seen;
    const platform::HWND window =
        platform::CreateMessageWindow("KvTestWindow", "", [&](platform::HWND, platform::UINT message,
                                                              platform::WPARAM wParam, platform::LPARAM) {
            if (message == platform::WM_USER + 1) seen.push_back(wParam);
            return platform::LRESULT{0};
        });
    const platform::DWORD guiThread = platform::GetCurrentThreadId();
    std::thread poster([&] {
        for (platform::WPARAM i = 0; i < 100; ++i) platform::PostMessage(window, platform::WM_USER + 1, i, 0);
        platform::PostThreadMessage(guiThread, platform::WM_QUIT, 0, 0);
    });
    poster.join();
    ASSERT_TRUE(kvtest::PumpUiUntil([&] { return seen.size() == 100; }));
    for (platform::WPARAM i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i);
    platform::DestroyWindow(window);
}

TEST_F(MainLoopQueueTest, AWindowShowsOnTheVirtualDisplay) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Kavelin 2.2");
    frame->Show();
    kvtest::PumpUi(std::chrono::milliseconds(50));
    EXPECT_TRUE(frame->IsShownOnScreen());
    frame->Destroy();
    kvtest::PumpUi(std::chrono::milliseconds(10));
}

}  // namespace
