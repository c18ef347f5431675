#include "platform/UiThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/Event.h"
#include "platform/Time.h"
#include "platform/Wait.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;

constexpr UINT kStart = 2253;
constexpr UINT kStop = 2254;

// Records the life of the thread; everything is read after the thread ended.
class RecordingThread : public UiThread {
public:
    explicit RecordingThread(bool init = true) : init_(init) {}

    bool InitInstance() override {
        steps.push_back("init");
        return init_;
    }
    bool PreTranslateMessage(MSG& msg) override {
        messages.push_back(msg.message);
        return msg.message == kStart || msg.message == kStop;
    }
    int ExitInstance() override {
        steps.push_back("exit");
        return UiThread::ExitInstance() + 100;
    }

    std::vector<std::string> steps;
    std::vector<UINT> messages;

private:
    bool init_;
};

class UiThreadTest : public kvtest::RootedTest {};

TEST_F(UiThreadTest, PostedQuitEndsLoopAfterEarlierMessages) {
    RecordingThread t;
    ASSERT_TRUE(t.CreateThread());
    ASSERT_NE(t.ThreadId(), 0u);
    // Posted right after the start: none may be lost.
    EXPECT_TRUE(t.PostThreadMessage(kStart, 0, 0));
    EXPECT_TRUE(t.PostThreadMessage(kStop, 0, 0));
    EXPECT_TRUE(PostThreadMessage(t.ThreadId(), WM_QUIT, 5, 0));
    ASSERT_TRUE(t.thread().Wait(5000));
    t.thread().Join();
    EXPECT_EQ(t.thread().ExitCode(), 105u);
    EXPECT_EQ(t.steps, (std::vector<std::string>{"init", "exit"}));
    EXPECT_EQ(t.messages, (std::vector<UINT>{kStart, kStop, WM_QUIT}));
    EXPECT_FALSE(t.PostThreadMessage(kStart, 0, 0));
}

// The loop's own posts wake nothing; posts of other threads that race
// them must still wake the loop.
TEST_F(UiThreadTest, OwnPostsAndOtherThreadsPostsAllArrive) {
    constexpr int kChain = 2000;
    constexpr int kFromOutside = 2000;
    struct ChainThread : UiThread {
        std::atomic<int> chained{0};
        std::atomic<int> outside{0};
        bool PreTranslateMessage(MSG& msg) override {
            if (msg.message == kStart && ++chained < kChain) platform::PostThreadMessage(ThreadId(), kStart, 0, 0);
            if (msg.message == kStop) ++outside;
            return msg.message != WM_QUIT;
        }
    } t;
    ASSERT_TRUE(t.CreateThread());
    EXPECT_TRUE(t.PostThreadMessage(kStart, 0, 0));
    for (int i = 0; i < kFromOutside; ++i) {
        EXPECT_TRUE(t.PostThreadMessage(kStop, 0, 0));
        if (i % 50 == 0) Sleep(1);
    }
    // Bounded: a lost wake-up would leave the counts short.
    for (int i = 0; i < 500 && (t.chained.load() < kChain || t.outside.load() < kFromOutside); ++i) Sleep(10);
    EXPECT_EQ(t.chained.load(), kChain);
    EXPECT_EQ(t.outside.load(), kFromOutside);
    EXPECT_TRUE(PostThreadMessage(t.ThreadId(), WM_QUIT, 0, 0));
    ASSERT_TRUE(t.thread().Wait(5000));
    t.thread().Join();
}

TEST_F(UiThreadTest, FailedInitInstanceSkipsLoop) {
    RecordingThread t(false);
    ASSERT_TRUE(t.CreateThread());
    ASSERT_TRUE(t.thread().Wait(5000));
    t.thread().Join();
    EXPECT_EQ(t.steps, (std::vector<std::string>{"init", "exit"}));
    EXPECT_TRUE(t.messages.empty());
}

TEST_F(UiThreadTest, UnhandledWindowMessagesAreDispatched) {
    class WindowThread : public UiThread {
    public:
        bool InitInstance() override {
            hwnd = CreateMessageWindow("Test", "Test", [this](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
                if (message == WM_USER) {
                    dispatched = true;
                    PostQuitMessage(0);
                }
                return 0;
            });
            created.Set();
            return true;
        }
        HWND hwnd;
        bool dispatched = false;
        Event created{true, false};
    } t;
    ASSERT_TRUE(t.CreateThread());
    ASSERT_EQ(WaitForSingleObject(t.created, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(PostMessage(t.hwnd, WM_USER, 0, 0));
    ASSERT_TRUE(t.thread().Wait(5000));
    t.thread().Join();
    EXPECT_TRUE(t.dispatched);
    EXPECT_FALSE(IsWindow(t.hwnd));
}

TEST_F(UiThreadTest, AutoDeleteThreadDeletesItsObject) {
    static Event deleted;
    deleted = Event(true, false);
    class Deleting : public UiThread {
    public:
        ~Deleting() override { deleted.Set(); }
    };
    auto* t = new Deleting;
    t->SetAutoDelete(true);
    ASSERT_TRUE(t->CreateThread());
    const Thread handle = t->thread();
    EXPECT_TRUE(PostThreadMessage(handle.id(), WM_QUIT, 0, 0));
    EXPECT_EQ(WaitForMultipleObjects({deleted, handle}, true, 5000), WAIT_OBJECT_0);
    handle.Join();
}

TEST_F(UiThreadTest, CreateThreadTwiceFails) {
    RecordingThread t;
    ASSERT_TRUE(t.CreateThread());
    EXPECT_FALSE(t.CreateThread());
    t.PostThreadMessage(WM_QUIT, 0, 0);
    t.thread().Join();
}

}  // namespace
