#include "platform/Messages.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <set>
#include <vector>

#include "platform/Event.h"
#include "platform/Thread.h"
#include "platform/Time.h"
#include "platform/Wait.h"
#include "support/MessagePump.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;

class MessagesTest : public kvtest::RootedTest {
protected:
    void TearDown() override {
        // Leftovers of one test must not reach the next on this thread.
        MSG msg;
        while (PeekMessage(msg)) {
        }
    }
};

// A window of a new thread that pumps until WM_QUIT; the thread's id and
// the window come back once it runs.
struct PumpingThread {
    Thread thread;
    HWND hwnd;
    std::atomic<DWORD> procThread{0};

    PumpingThread() {
        Event ready(true, false);
        thread = Thread::Start([this, ready] {
            hwnd = CreateMessageWindow("Test", "Test", [this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
                procThread = GetCurrentThreadId();
                return message == WM_USER ? static_cast<LRESULT>(wParam * 2) : 0;
            });
            ready.Set();
            MSG msg;
            while (GetMessage(msg)) DispatchMessage(msg);
            return 0u;
        });
        WaitForSingleObject(ready, 5000);
    }
    ~PumpingThread() {
        PostThreadMessage(thread.id(), WM_QUIT, 0, 0);
        thread.Join();
    }
};

TEST_F(MessagesTest, KeepsOrderOfThreadAndWindowPosts) {
    std::vector<UINT> seen;
    const HWND hwnd = CreateMessageWindow("Test", "Test", [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        seen.push_back(message);
        return 0;
    });
    ASSERT_TRUE(PostMessage(hwnd, WM_USER + 1, 0, 0));
    ASSERT_TRUE(PostThreadMessage(GetCurrentThreadId(), WM_USER + 2, 7, 8));
    ASSERT_TRUE(PostMessage(hwnd, WM_USER + 3, 0, 0));
    MSG msg;
    std::vector<UINT> order;
    while (PeekMessage(msg)) {
        order.push_back(msg.message);
        if (msg.message == WM_USER + 2) {
            EXPECT_FALSE(msg.hwnd);
            EXPECT_EQ(msg.wParam, 7u);
            EXPECT_EQ(msg.lParam, 8);
        }
        DispatchMessage(msg);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 3}));
    DestroyWindow(hwnd);
}

TEST_F(MessagesTest, DestroyedWindowRefusesPostsAndHandlesAreNeverReused) {
    std::set<std::uint64_t> values;
    HWND last;
    for (int i = 0; i < 50; ++i) {
        last = CreateMessageWindow("Test", "Test", DefWindowProc);
        EXPECT_TRUE(values.insert(last.value()).second);
        ASSERT_TRUE(DestroyWindow(last));
    }
    EXPECT_FALSE(IsWindow(last));
    EXPECT_FALSE(PostMessage(last, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(last));
    EXPECT_EQ(SendMessage(last, WM_USER, 1, 0), 0);
}

TEST_F(MessagesTest, DestroyingWindowDropsItsQueuedMessages) {
    int destroyed = 0;
    const HWND hwnd = CreateMessageWindow("Test", "Test", [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) ++destroyed;
        return 0;
    });
    PostMessage(hwnd, WM_USER, 0, 0);
    DestroyWindow(hwnd);
    EXPECT_EQ(destroyed, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg));
}

TEST_F(MessagesTest, WindowsAndQueueDieWithTheirThread) {
    HWND hwnd;
    DWORD id = 0;
    Thread t = Thread::Start([&] {
        hwnd = CreateMessageWindow("Test", "Test", DefWindowProc);
        id = GetCurrentThreadId();
        return 0u;
    });
    ASSERT_TRUE(t.Wait(5000));
    t.Join();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(PostMessage(hwnd, WM_USER, 0, 0));
    EXPECT_FALSE(PostThreadMessage(id, WM_USER, 0, 0));
}

TEST_F(MessagesTest, SendMessageCallsProcedureAtOnceOnOwnThread) {
    std::vector<UINT> seen;
    const HWND hwnd = CreateMessageWindow("Test", "Test", [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        seen.push_back(message);
        return static_cast<LRESULT>(wParam + 1);
    });
    PostMessage(hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(SendMessage(hwnd, WM_USER + 2, 41, 0), 42);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 2}));
    DestroyWindow(hwnd);
}

TEST_F(MessagesTest, SendMessageToOtherThreadRunsThereAndReturnsResult) {
    PumpingThread other;
    ASSERT_TRUE(IsWindow(other.hwnd));
    EXPECT_EQ(GetWindowThreadId(other.hwnd), other.thread.id());
    EXPECT_EQ(SendMessage(other.hwnd, WM_USER, 21, 0), 42);
    EXPECT_EQ(other.procThread.load(), other.thread.id());
}

TEST_F(MessagesTest, SendMessageReturnsZeroWhenOwnerThreadEndsFirst) {
    Event created(true, false);
    Event release(true, false);
    HWND hwnd;
    Thread t = Thread::Start([&] {
        hwnd = CreateMessageWindow("Test", "Test", DefWindowProc);
        created.Set();
        WaitForSingleObject(release, 5000);  // never pumps
        return 0u;
    });
    ASSERT_EQ(WaitForSingleObject(created, 5000), WAIT_OBJECT_0);
    Thread sender = Thread::Start([&] {
        Sleep(50);
        release.Set();
        return 0u;
    });
    EXPECT_EQ(SendMessage(hwnd, WM_USER, 1, 0), 0);
    t.Join();
    sender.Join();
}

TEST_F(MessagesTest, DispatchFromAnotherThreadDoesNothing) {
    std::atomic<int> calls{0};
    const HWND hwnd = CreateMessageWindow("Test", "Test", [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
        ++calls;
        return 1;
    });
    LRESULT result = -1;
    Thread t = Thread::Start([&] {
        result = DispatchMessage(MSG{hwnd, WM_USER, 0, 0, 0});
        return 0u;
    });
    t.Join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(calls.load(), 0);
    DestroyWindow(hwnd);
}

TEST_F(MessagesTest, PostThreadMessageFailsForUnknownThread) {
    EXPECT_FALSE(PostThreadMessage(0, WM_USER, 0, 0));
    EXPECT_FALSE(PostThreadMessage(0x7FFFFFF0u, WM_USER, 0, 0));
}

TEST_F(MessagesTest, FiltersByNumberRangeAndWindow) {
    const HWND a = CreateMessageWindow("Test", "A", DefWindowProc);
    const HWND b = CreateMessageWindow("Test", "B", DefWindowProc);
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 5, 0, 0);
    PostMessage(a, WM_USER + 9, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, nullptr, WM_USER + 5, WM_USER + 9));
    EXPECT_EQ(msg.message, WM_USER + 5u);
    ASSERT_TRUE(PeekMessage(msg, a, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    ASSERT_TRUE(GetMessage(msg, a, WM_USER + 9, WM_USER + 9));
    EXPECT_EQ(msg.message, WM_USER + 9u);
    ASSERT_TRUE(PeekMessage(msg));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    EXPECT_FALSE(PeekMessage(msg));
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(MessagesTest, GetMessageReturnsZeroForQuit) {
    PostQuitMessage(3);
    MSG msg;
    EXPECT_EQ(GetMessage(msg), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessagesTest, QueueFdWakesPollerOnPostFromOtherThread) {
    const int fd = GetMessageQueueFd();
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg));
    pollfd p{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0);
    const DWORD me = GetCurrentThreadId();
    Thread t = Thread::Start([me] {
        Sleep(20);
        PostThreadMessage(me, WM_USER, 0, 0);
        return 0u;
    });
    EXPECT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_TRUE(PeekMessage(msg));
    EXPECT_EQ(msg.message, WM_USER);
    t.Join();
}

// A main loop polls the queue's descriptor and drains: every post of the
// other threads racing the drain must wake it, and a drained queue must
// leave the descriptor quiet (no loop spinning on a stale wake-up). More
// posters than cores, so that the drain is cut off at any point.
TEST_F(MessagesTest, PostsRacingTheDrainAlwaysWakeAndADrainedQueueIsQuiet) {
    constexpr int kPosters = 12;
    constexpr int kPostsEach = 20000;
    const int fd = GetMessageQueueFd();
    const DWORD me = GetCurrentThreadId();
    std::vector<Thread> posters;
    for (int p = 0; p < kPosters; ++p) {
        posters.push_back(Thread::Start([me, p] {
            for (int i = 0; i < kPostsEach; ++i) {
                PostThreadMessage(me, WM_USER, static_cast<WPARAM>(p), static_cast<LPARAM>(i));
                if (i % 64 == 0) Sleep(0);
            }
            return 0u;
        }));
    }
    std::vector<int> next(kPosters, 0);
    int received = 0;
    bool inOrder = true;
    MSG msg;
    pollfd p{fd, POLLIN, 0};
    while (received < kPosters * kPostsEach) {
        // A lost wake-up shows as a poll that times out with posts pending.
        if (::poll(&p, 1, 2000) != 1) break;
        while (PeekMessage(msg)) {
            int& expected = next[msg.wParam];
            inOrder = inOrder && msg.lParam == expected;
            ++expected;
            ++received;
        }
    }
    EXPECT_EQ(received, kPosters * kPostsEach);
    EXPECT_TRUE(inOrder);
    for (const Thread& poster : posters) poster.Join();
    EXPECT_FALSE(PeekMessage(msg));
    EXPECT_EQ(::poll(&p, 1, 0), 0);
}

TEST_F(MessagesTest, RegisteredMessagesMatchByTextWithoutCase) {
    const UINT a = RegisterWindowMessage("{1329AE31-70CD-4f8e-B32D-EE0C34041028}");
    const UINT b = RegisterWindowMessage("{1329ae31-70cd-4F8E-b32d-ee0c34041028}");
    const UINT c = RegisterWindowMessage("Another message");
    EXPECT_GE(a, WM_REGISTERED_FIRST);
    EXPECT_LE(a, WM_REGISTERED_LAST);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(MessagesTest, WindowKeepsItsClassName) {
    const HWND hwnd = CreateMessageWindow("CAsyncSocketEx Helper Window", "title", DefWindowProc);
    EXPECT_EQ(GetClassName(hwnd), "CAsyncSocketEx Helper Window");
    DestroyWindow(hwnd);
    EXPECT_EQ(GetClassName(hwnd), "");
}

}  // namespace
