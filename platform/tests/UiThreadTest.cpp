#include "platform/UiThread.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "platform/Event.h"
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
