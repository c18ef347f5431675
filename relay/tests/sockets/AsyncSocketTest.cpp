#include "relay/sockets/CAsyncSocketEx.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Event.h"
#include "platform/Time.h"
#include "platform/UiThread.h"
#include "platform/Wait.h"
#include "relay/sockets/CAsyncSocketExHelperWindow.h"
#include "support/MessagePump.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;

// A socket that counts its notices and remembers the thread they ran on.
class TestSocket : public CAsyncSocketEx {
public:
    std::atomic<int> accepts{0}, receives{0}, sends{0}, connects{0}, closes{0};
    std::atomic<int> connectError{-1}, closeError{-1};
    std::atomic<DWORD> noticeThread{0};
    // Accepted connections land here when set.
    std::vector<std::unique_ptr<TestSocket>>* acceptInto = nullptr;
    long acceptedEvents = FD_READ | FD_CLOSE;
    bool readOnReceive = false;

    int Slot() const { return m_SocketData.nSocketIndex; }
    CAsyncSocketExHelperWindow* Helper() const {
        return m_pLocalAsyncSocketExThreadData ? m_pLocalAsyncSocketExThreadData->m_pHelperWindow.get() : nullptr;
    }

    void OnAccept(int) override {
        Seen(accepts);
        if (!acceptInto) return;
        auto s = std::make_unique<TestSocket>();
        if (Accept(*s)) {
            s->AsyncSelect(acceptedEvents);
            acceptInto->push_back(std::move(s));
        }
    }
    void OnReceive(int) override {
        Seen(receives);
        if (readOnReceive) {
            char buf[256];
            Receive(buf, sizeof buf);
        }
    }
    void OnSend(int) override { Seen(sends); }
    void OnConnect(int error) override {
        connectError = error;
        Seen(connects);
    }
    void OnClose(int error) override {
        closeError = error;
        Seen(closes);
    }

private:
    void Seen(std::atomic<int>& counter) {
        noticeThread = GetCurrentThreadId();
        ++counter;
    }
};

// An engine-style thread (a message loop) that runs test code on itself.
class EngineThread : public UiThread {
public:
    static constexpr UINT kRun = 0x7F00;

    EngineThread() { CreateThread(); }
    ~EngineThread() override {
        PostThreadMessage(WM_QUIT, 0, 0);
        thread().Join();
    }

    // Runs f on this thread and waits for it (at most 10 s).
    void Exec(const std::function<void()>& f) {
        auto task = new Task{f, Event(true, false)};
        const Event done = task->done;
        ASSERT_TRUE(PostThreadMessage(kRun, 0, reinterpret_cast<LPARAM>(task)));
        ASSERT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
    }

    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message != kRun || msg.hwnd) return false;
        std::unique_ptr<Task> task(reinterpret_cast<Task*>(msg.lParam));
        task->f();
        task->done.Set();
        return true;
    }

private:
    struct Task {
        std::function<void()> f;
        Event done;
    };
};

bool Eventually(const std::function<bool()>& done, int ms = 5000) {
    for (int waited = 0; waited < ms; waited += 5) {
        if (done()) return true;
        Sleep(5);
    }
    return done();
}

sockaddr_in Loopback(UINT port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A plain blocking client of 127.0.0.1:port.
SOCKET Client(UINT port) {
    const SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(port);
    if (platform::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        platform::closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

UINT PortOf(CAsyncSocketEx& s) {
    std::string address;
    UINT port = 0;
    s.GetSockName(address, port);
    return port;
}

// A listener on 127.0.0.1 at a free port that keeps what it accepts.
struct Listener {
    TestSocket socket;
    std::vector<std::unique_ptr<TestSocket>> accepted;
    UINT port = 0;

    bool Start(UINT wanted = 0) {
        socket.acceptInto = &accepted;
        if (!socket.Create(wanted, SOCK_STREAM, FD_ACCEPT, "127.0.0.1") || !socket.Listen()) return false;
        port = PortOf(socket);
        return true;
    }
};

class NetAsyncSocketTest : public kvtest::RootedTest {};

TEST_F(NetAsyncSocketTest, NoticesArriveOnRegisteringThread) {
    EngineThread engine;
    Listener listener;
    engine.Exec([&] { ASSERT_TRUE(listener.Start()); });
    const SOCKET client = Client(listener.port);
    ASSERT_TRUE(Eventually([&] { return listener.socket.accepts.load() == 1; }));
    EXPECT_EQ(listener.socket.noticeThread.load(), engine.ThreadId());
    TestSocket* server = nullptr;
    engine.Exec([&] {
        ASSERT_EQ(listener.accepted.size(), 1u);
        server = listener.accepted[0].get();
    });
    platform::send(client, "ping", 4, 0);
    ASSERT_TRUE(Eventually([&] { return server->receives.load() == 1; }));
    EXPECT_EQ(server->noticeThread.load(), engine.ThreadId());
    platform::closesocket(client);
    engine.Exec([&] {
        listener.accepted.clear();
        listener.socket.Close();
    });
}

TEST_F(NetAsyncSocketTest, NoticesFollowDetachAndAttachToAnotherThread) {
    EngineThread first, second;
    Listener listener;
    first.Exec([&] { ASSERT_TRUE(listener.Start()); });
    const SOCKET client = Client(listener.port);
    ASSERT_TRUE(Eventually([&] { return listener.socket.accepts.load() == 1; }));
    std::unique_ptr<TestSocket> moved;
    SOCKET handle = INVALID_SOCKET;
    first.Exec([&] {
        moved = std::move(listener.accepted.at(0));
        handle = moved->Detach();
    });
    ASSERT_NE(handle, INVALID_SOCKET);
    EXPECT_EQ(moved->GetSocketHandle(), INVALID_SOCKET);
    // The same object, and a fresh one, each taken over by the second thread.
    TestSocket fresh;
    second.Exec([&] {
        ASSERT_TRUE(moved->Attach(handle, FD_READ | FD_CLOSE));
        EXPECT_EQ(GetWindowThreadId(moved->GetHelperWindowHandle()), second.ThreadId());
    });
    platform::send(client, "a", 1, 0);
    ASSERT_TRUE(Eventually([&] { return moved->receives.load() == 1; }));
    EXPECT_EQ(moved->noticeThread.load(), second.ThreadId());
    second.Exec([&] {
        handle = moved->Detach();
        ASSERT_TRUE(fresh.Attach(handle, FD_READ | FD_CLOSE));
    });
    platform::send(client, "b", 1, 0);
    ASSERT_TRUE(Eventually([&] { return fresh.receives.load() == 1; }));
    EXPECT_EQ(fresh.noticeThread.load(), second.ThreadId());
    EXPECT_EQ(moved->receives.load(), 1);
    platform::closesocket(client);
    second.Exec([&] {
        fresh.Close();
        moved.reset();
    });
    first.Exec([&] { listener.socket.Close(); });
}

TEST_F(NetAsyncSocketTest, ReceiveNoticeNeedsWaitingBytesUnlessForced) {
    EngineThread engine;
    Listener listener;
    engine.Exec([&] { ASSERT_TRUE(listener.Start()); });
    const SOCKET client = Client(listener.port);
    ASSERT_TRUE(Eventually([&] { return listener.socket.accepts.load() == 1; }));
    TestSocket* server = nullptr;
    engine.Exec([&] {
        server = listener.accepted.at(0).get();
        server->readOnReceive = true;
        EXPECT_TRUE(server->TriggerEvent(FD_READ));
    });
    engine.Exec([] {});  // the triggered notice has been handled
    EXPECT_EQ(server->receives.load(), 0);
    engine.Exec([&] { EXPECT_TRUE(server->TriggerEvent(FD_FORCEREAD)); });
    engine.Exec([] {});
    EXPECT_EQ(server->receives.load(), 1);
    platform::send(client, "data", 4, 0);
    ASSERT_TRUE(Eventually([&] { return server->receives.load() == 2; }));
    Sleep(50);
    EXPECT_EQ(server->receives.load(), 2);
    platform::closesocket(client);
    ASSERT_TRUE(Eventually([&] { return server->closes.load() == 1; }));
    EXPECT_EQ(server->closeError.load(), 0);
    engine.Exec([&] {
        listener.accepted.clear();
        listener.socket.Close();
    });
}

TEST_F(NetAsyncSocketTest, StaleNoticeForClosedOrReplacedSocketIsDropped) {
    EngineThread engine;
    TestSocket a, b;
    engine.Exec([&] {
        ASSERT_TRUE(a.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
        ASSERT_TRUE(b.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
        // A notice queued for a, then a closes before it is handled.
        EXPECT_TRUE(a.TriggerEvent(FD_FORCEREAD));
        a.Close();
        // A notice in b's slot naming another handle.
        PostMessage(b.GetHelperWindowHandle(), WM_SOCKETEX_NOTIFY + static_cast<UINT>(b.Slot()),
                    static_cast<WPARAM>(b.GetSocketHandle() + 1), FD_FORCEREAD);
    });
    engine.Exec([] {});
    EXPECT_EQ(a.receives.load(), 0);
    EXPECT_EQ(b.receives.load(), 0);
    EXPECT_FALSE(a.TriggerEvent(FD_FORCEREAD));
    engine.Exec([&] { b.Close(); });
}

TEST_F(NetAsyncSocketTest, TableGrowsAtCountAndReusesSlotsRoundRobin) {
    EngineThread engine;
    std::vector<std::unique_ptr<TestSocket>> sockets;
    engine.Exec([&] {
        for (int i = 0; i < 502; ++i) {
            sockets.push_back(std::make_unique<TestSocket>());
            ASSERT_TRUE(sockets.back()->Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
            EXPECT_EQ(sockets.back()->Slot(), i);
        }
        CAsyncSocketExHelperWindow* helper = sockets[0]->Helper();
        EXPECT_EQ(helper->GetTableSize(), 512);
        EXPECT_EQ(helper->GetSocketCount(), 502);
        sockets.push_back(std::make_unique<TestSocket>());
        ASSERT_TRUE(sockets.back()->Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
        EXPECT_EQ(helper->GetTableSize(), 1024);
        EXPECT_EQ(sockets.back()->Slot(), 502);

        // Freed entries are taken again only when the search comes round.
        sockets[1]->Close();
        sockets[2]->Close();
        EXPECT_EQ(sockets[1]->Slot(), -1);
        TestSocket next;
        ASSERT_TRUE(next.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
        EXPECT_EQ(next.Slot(), 503);
        EXPECT_EQ(helper->GetSocketCount(), 502);
        next.Close();
        sockets.clear();
    });
}

TEST_F(NetAsyncSocketTest, TableNeverExceedsItsCap) {
    EngineThread engine;
    engine.Exec([] {
        CAsyncSocketExHelperWindow helper;
        // Entries are only stored, never called, so any distinct pointers do.
        std::vector<char> owners(kSocketTableMaxSize + 1);
        std::vector<int> slots(owners.size(), -1);
        for (int i = 0; i < kSocketTableMaxSize; ++i) {
            ASSERT_TRUE(helper.AddSocket(reinterpret_cast<CAsyncSocketEx*>(&owners[static_cast<std::size_t>(i)]),
                                         slots[static_cast<std::size_t>(i)]));
        }
        EXPECT_EQ(helper.GetTableSize(), kSocketTableMaxSize);
        EXPECT_FALSE(helper.AddSocket(reinterpret_cast<CAsyncSocketEx*>(&owners.back()), slots.back()));
        EXPECT_EQ(slots.back(), -1);
        // The highest notice number stays below the registered messages.
        EXPECT_LT(WM_SOCKETEX_NOTIFY + kSocketTableMaxSize - 1, WM_REGISTERED_FIRST);
    });
}

TEST_F(NetAsyncSocketTest, CreateTwiceAndAttachOfInvalidHandleFail) {
    EngineThread engine;
    engine.Exec([] {
        TestSocket s;
        ASSERT_TRUE(s.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
        EXPECT_FALSE(s.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
        EXPECT_EQ(CAsyncSocketEx::GetLastError(), 10037);
        for (const SOCKET bad : {INVALID_SOCKET, SOCKET{0}}) {
            TestSocket t;
            EXPECT_FALSE(t.Attach(bad));
            EXPECT_EQ(CAsyncSocketEx::GetLastError(), WSAENOTSOCK);
            EXPECT_FALSE(t.GetHelperWindowHandle());
            EXPECT_EQ(t.GetSocketHandle(), INVALID_SOCKET);
        }
        TestSocket u;
        EXPECT_FALSE(u.Create(0, SOCK_STREAM, FD_READ, "not an address"));
        EXPECT_EQ(CAsyncSocketEx::GetLastError(), WSAEINVAL);
        EXPECT_EQ(u.GetSocketHandle(), INVALID_SOCKET);
    });
}

TEST_F(NetAsyncSocketTest, LastSocketOfThreadTakesHelperWindowAlong) {
    EngineThread engine;
    engine.Exec([] {
        HWND helper;
        {
            TestSocket a;
            ASSERT_TRUE(a.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
            helper = a.GetHelperWindowHandle();
            {
                TestSocket b;
                ASSERT_TRUE(b.Create(0, SOCK_STREAM, FD_READ, "127.0.0.1"));
                EXPECT_EQ(b.GetHelperWindowHandle(), helper);
                EXPECT_EQ(GetClassName(helper), "CAsyncSocketEx Helper Window");
            }
            EXPECT_TRUE(IsWindow(helper));
        }
        EXPECT_FALSE(IsWindow(helper));
    });
}

TEST_F(NetAsyncSocketTest, NameLookupConnectsToLocalhost) {
    EngineThread engine;
    Listener listener;
    TestSocket client;
    engine.Exec([&] {
        ASSERT_TRUE(listener.Start());
        ASSERT_TRUE(client.Create(0, SOCK_STREAM, CAsyncSocketEx::kAllEvents));
        EXPECT_TRUE(client.Connect("localhost", listener.port));
        EXPECT_EQ(CAsyncSocketEx::GetLastError(), WSAEWOULDBLOCK);
    });
    ASSERT_TRUE(Eventually([&] { return client.connects.load() == 1; }));
    EXPECT_EQ(client.connectError.load(), 0);
    EXPECT_TRUE(Eventually([&] { return listener.socket.accepts.load() == 1; }));
    EXPECT_TRUE(Eventually([&] { return client.sends.load() == 1; }));
    engine.Exec([&] {
        std::string address;
        UINT port = 0;
        EXPECT_TRUE(client.GetPeerName(address, port));
        EXPECT_EQ(address, "127.0.0.1");
        EXPECT_EQ(port, listener.port);
        client.Close();
        listener.accepted.clear();
        listener.socket.Close();
    });
}

TEST_F(NetAsyncSocketTest, FailedNameLookupCallsOnConnectWithError) {
    EngineThread engine;
    TestSocket client;
    engine.Exec([&] {
        ASSERT_TRUE(client.Create(0, SOCK_STREAM, CAsyncSocketEx::kAllEvents));
        EXPECT_TRUE(client.Connect("bad..name", 80));
    });
    ASSERT_TRUE(Eventually([&] { return client.connects.load() == 1; }));
    EXPECT_EQ(client.connectError.load(), WSAHOST_NOT_FOUND);
    engine.Exec([&] { client.Close(); });
}

TEST_F(NetAsyncSocketTest, ClosingCancelsPendingNameLookup) {
    const Event entered(true, false), release(true, false), answered(true, false);
    const HostResolver previous = SetHostResolver([=](const std::string&, std::vector<std::uint32_t>& out) {
        entered.Set();
        WaitForSingleObject(release, 5000);
        out.push_back(htonl(INADDR_LOOPBACK));
        answered.Set();
        return 0;
    });
    EngineThread engine;
    TestSocket client;
    engine.Exec([&] {
        ASSERT_TRUE(client.Create(0, SOCK_STREAM, CAsyncSocketEx::kAllEvents));
        EXPECT_TRUE(client.Connect("held.example", 80));
    });
    ASSERT_EQ(WaitForSingleObject(entered, 5000), WAIT_OBJECT_0);
    engine.Exec([&] { client.Close(); });
    release.Set();
    ASSERT_EQ(WaitForSingleObject(answered, 5000), WAIT_OBJECT_0);
    Sleep(100);
    engine.Exec([] {});
    SetHostResolver(previous);
    EXPECT_EQ(client.connects.load(), 0);
}

TEST_F(NetAsyncSocketTest, IdleConnectionsAndUnreadEndOfStreamCostNoTime) {
    EngineThread engine;
    Listener listener;
    engine.Exec([&] { ASSERT_TRUE(listener.Start()); });
    std::vector<SOCKET> clients;
    for (int i = 0; i < 51; ++i) clients.push_back(Client(listener.port));
    ASSERT_TRUE(Eventually([&] {
        size_t n = 0;
        engine.Exec([&] { n = listener.accepted.size(); });
        return n == 51;
    }));
    // The last one sends and ends its stream; the engine never reads it.
    platform::send(clients.back(), "unread", 6, 0);
    platform::shutdown(clients.back(), SD_SEND);
    TestSocket* unread = nullptr;
    engine.Exec([&] { unread = listener.accepted.back().get(); });
    ASSERT_TRUE(Eventually([&] { return unread->receives.load() == 1; }));

    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const DWORD start = GetTickCount();
    Sleep(1000);
    engine.Exec([] {});  // the engine thread still answers
    const DWORD wall = GetTickCount() - start;
    getrusage(RUSAGE_SELF, &after);
    auto micros = [](const rusage& r) {
        return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000000L + r.ru_utime.tv_usec + r.ru_stime.tv_usec;
    };
    const long used = micros(after) - micros(before);
    EXPECT_LT(used, static_cast<long>(wall) * 1000 / 50) << "cpu " << used << " us over " << wall << " ms";
    EXPECT_EQ(unread->receives.load(), 1);
    EXPECT_EQ(unread->closes.load(), 0);

    for (const SOCKET c : clients) platform::closesocket(c);
    engine.Exec([&] {
        listener.accepted.clear();
        listener.socket.Close();
    });
}

TEST_F(NetAsyncSocketTest, ListenerRebindsAtOnceAfterRestart) {
    EngineThread engine;
    Listener first;
    engine.Exec([&] { ASSERT_TRUE(first.Start()); });
    const SOCKET client = Client(first.port);
    ASSERT_TRUE(Eventually([&] { return first.socket.accepts.load() == 1; }));
    engine.Exec([&] {
        first.accepted.clear();  // the server side closes first: TIME_WAIT
        first.socket.Close();
    });
    platform::closesocket(client);
    Listener second;
    engine.Exec([&] {
        EXPECT_TRUE(second.Start(first.port)) << CAsyncSocketEx::GetLastError();
        second.socket.Close();
    });
}

TEST_F(NetAsyncSocketTest, SendToClosedPeerDoesNotEndProcess) {
    EngineThread engine;
    Listener listener;
    engine.Exec([&] { ASSERT_TRUE(listener.Start()); });
    const SOCKET client = Client(listener.port);
    ASSERT_TRUE(Eventually([&] { return listener.socket.accepts.load() == 1; }));
    platform::closesocket(client);
    engine.Exec([&] {
        TestSocket& server = *listener.accepted.at(0);
        const char data[4096] = {};
        int result = 0;
        for (int i = 0; i < 100 && result != SOCKET_ERROR; ++i) {
            result = server.Send(data, sizeof data);
            if (result != SOCKET_ERROR) Sleep(5);
        }
        EXPECT_EQ(result, SOCKET_ERROR);
        EXPECT_EQ(CAsyncSocketEx::GetLastError(), WSAECONNRESET);
        listener.accepted.clear();
        listener.socket.Close();
    });
}

}  // namespace
