#include "platform/SocketNotify.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "LoopbackHelpers.h"
#include "platform/Event.h"
#include "platform/Sockets.h"
#include "platform/Thread.h"
#include "platform/Time.h"
#include "platform/Wait.h"
#include "support/MessagePump.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;

constexpr UINT kNotice = WM_USER + 2;
constexpr UINT kLookup = WM_USER + 1;

struct Notice {
    SOCKET s;
    WORD event;
    WORD error;
};

// A window on the test thread that records every socket notice.
class NetSocketNotifyTest : public kvtest::RootedTest {
protected:
    void SetUp() override {
        hwnd_ = CreateMessageWindow("Test", "Test", [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == kNotice) {
                notices_.push_back({static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam)});
            } else if (message == kLookup) {
                lookups_.push_back({wParam, lParam});
            }
            return 0;
        });
    }
    void TearDown() override {
        for (const SOCKET s : open_) platform::closesocket(s);
        DestroyWindow(hwnd_);
    }

    SOCKET Keep(SOCKET s) {
        open_.push_back(s);
        return s;
    }
    void Forget(SOCKET s) { std::erase(open_, s); }

    int Count(SOCKET s, long event) const {
        return static_cast<int>(std::count_if(notices_.begin(), notices_.end(),
                                              [&](const Notice& n) { return n.s == s && n.event == event; }));
    }
    bool WaitFor(SOCKET s, long event, int count = 1, int ms = 3000) {
        return kvtest::PumpUntil([&] { return Count(s, event) >= count; }, ms);
    }
    const Notice* Last(SOCKET s, long event) const {
        for (auto it = notices_.rbegin(); it != notices_.rend(); ++it) {
            if (it->s == s && it->event == event) return &*it;
        }
        return nullptr;
    }

    // A registered server end and its blocking client.
    struct Pair {
        SOCKET server;
        SOCKET client;
    };
    Pair Connected(long events) {
        std::uint16_t port = 0;
        const SOCKET listener = Keep(kvtest::MakeListener(port));
        EXPECT_EQ(WSAAsyncSelect(listener, hwnd_, kNotice, FD_ACCEPT), 0);
        const SOCKET client = Keep(kvtest::ConnectTo(port));
        EXPECT_TRUE(WaitFor(listener, FD_ACCEPT));
        const SOCKET server = Keep(platform::accept(listener, nullptr, nullptr));
        EXPECT_NE(server, INVALID_SOCKET);
        EXPECT_EQ(WSAAsyncSelect(server, hwnd_, kNotice, events), 0);
        return {server, client};
    }

    HWND hwnd_;
    std::vector<Notice> notices_;
    std::vector<std::pair<WPARAM, LPARAM>> lookups_;
    std::vector<SOCKET> open_;
};

TEST_F(NetSocketNotifyTest, ReadNoticeWaitsForProgramToReceiveAgain) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    platform::send(client, "abc", 3, 0);
    ASSERT_TRUE(WaitFor(server, FD_READ));
    kvtest::PumpFor(100);
    EXPECT_EQ(Count(server, FD_READ), 1);  // bytes still wait, but no new notice
    char buf[8];
    ASSERT_EQ(platform::recv(server, buf, 1, 0), 1);
    ASSERT_TRUE(WaitFor(server, FD_READ, 2));  // two bytes left
    ASSERT_EQ(platform::recv(server, buf, sizeof buf, 0), 2);
    kvtest::PumpFor(100);
    EXPECT_EQ(Count(server, FD_READ), 2);
    EXPECT_EQ(Count(server, FD_CLOSE), 0);
}

// A FD_READ notice goes stale once its bytes are read by another path:
// the answer must follow the socket, whether the notifier or the socket
// gives it.
TEST_F(NetSocketNotifyTest, InputWaitingTellsAFreshReadNoticeFromAStaleOne) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    platform::send(client, "abc", 3, 0);
    ASSERT_TRUE(WaitFor(server, FD_READ));
    EXPECT_GT(platform::InputWaiting(server), 0);
    char buf[8];
    ASSERT_EQ(platform::recv(server, buf, sizeof buf, 0), 3);
    EXPECT_EQ(platform::InputWaiting(server), 0) << "read meanwhile: stale";
    platform::send(client, "d", 1, 0);
    pollfd readable{server, POLLIN, 0};
    ASSERT_EQ(::poll(&readable, 1, 3000), 1);
    EXPECT_GT(platform::InputWaiting(server), 0) << "new bytes before any notice";
    ASSERT_EQ(platform::closesocket(server), 0);
    Forget(server);
    EXPECT_EQ(platform::InputWaiting(server), SOCKET_ERROR);
}

// The end is told once every byte before it is read, whether a read took
// fewer bytes than it asked for (all there were) or exactly as many (some
// may be left).
TEST_F(NetSocketNotifyTest, CloseNoticeComesOnceAfterLastByteIsRead) {
    for (const std::vector<int>& reads : {std::vector{8}, {1, 8}, {1, 2}, {3}}) {
        SCOPED_TRACE(::testing::PrintToString(reads));
        notices_.clear();
        const auto [server, client] = Connected(FD_READ | FD_CLOSE);
        platform::send(client, "xyz", 3, 0);
        platform::closesocket(client);
        Forget(client);
        ASSERT_TRUE(WaitFor(server, FD_READ));
        kvtest::PumpFor(50);
        EXPECT_EQ(Count(server, FD_CLOSE), 0);
        char buf[8];
        int left = 3;
        for (std::size_t i = 0; i < reads.size(); ++i) {
            const int got = platform::recv(server, buf, reads[i], 0);
            ASSERT_EQ(got, std::min(reads[i], left));
            left -= got;
            if (left > 0) {
                ASSERT_TRUE(WaitFor(server, FD_READ, static_cast<int>(i) + 2)) << "bytes are left";
                EXPECT_EQ(Count(server, FD_CLOSE), 0);
            }
        }
        ASSERT_TRUE(WaitFor(server, FD_CLOSE));
        EXPECT_EQ(Last(server, FD_CLOSE)->error, 0);
        kvtest::PumpFor(100);
        EXPECT_EQ(Count(server, FD_CLOSE), 1);
        EXPECT_EQ(Count(server, FD_READ), static_cast<int>(reads.size()));
    }
}

TEST_F(NetSocketNotifyTest, ResetGivesCloseNoticeWithError) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    const linger abort{1, 0};
    platform::setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    platform::closesocket(client);
    Forget(client);
    ASSERT_TRUE(WaitFor(server, FD_CLOSE));
    EXPECT_EQ(Last(server, FD_CLOSE)->error, WSAECONNRESET);
    EXPECT_EQ(Count(server, FD_READ), 0);
}

// Notices are queued without waking the queue while its thread collects
// them; one that a filtered look leaves behind must still wake a main loop
// that polls the queue's descriptor.
TEST_F(NetSocketNotifyTest, NoticeLeftByAFilteredLookStillWakesThePoller) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    kvtest::PumpFor(50);
    platform::send(client, "abc", 3, 0);
    pollfd p{GetMessageQueueFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 3000), 1);
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg, hwnd_, WM_USER + 50, WM_USER + 50));
    EXPECT_EQ(::poll(&p, 1, 0), 1);
    ASSERT_TRUE(PeekMessage(msg, hwnd_, kNotice, kNotice));
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    EXPECT_FALSE(PeekMessage(msg));
    EXPECT_EQ(::poll(&p, 1, 0), 0);
}

// A notice taken but not yet answered (no recv, no accept) must not keep
// the queue's descriptor readable: a main loop that polls it would spin.
TEST_F(NetSocketNotifyTest, AnUnansweredNoticeLetsTheThreadSleep) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    std::uint16_t port = 0;
    const SOCKET listener = Keep(kvtest::MakeListener(port));
    ASSERT_EQ(WSAAsyncSelect(listener, hwnd_, kNotice, FD_ACCEPT), 0);
    kvtest::PumpFor(50);
    platform::send(client, "abc", 3, 0);
    Keep(kvtest::ConnectTo(port));
    ASSERT_TRUE(WaitFor(server, FD_READ));
    ASSERT_TRUE(WaitFor(listener, FD_ACCEPT));
    MSG msg;
    EXPECT_FALSE(PeekMessage(msg));
    pollfd p{GetMessageQueueFd(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0);
    EXPECT_EQ(Count(server, FD_READ), 1);
    EXPECT_EQ(Count(listener, FD_ACCEPT), 1);
}

// What the queue's epoll watches of fd now (its fdinfo), 0 when not there.
unsigned EpollMask(int epollFd, SOCKET fd) {
    std::FILE* info = std::fopen(("/proc/self/fdinfo/" + std::to_string(epollFd)).c_str(), "r");
    if (!info) return 0;
    unsigned mask = 0;
    char line[256];
    while (std::fgets(line, sizeof line, info)) {
        int watched = -1;
        unsigned events = 0;
        if (std::sscanf(line, "tfd: %d events: %x", &watched, &events) == 2 && watched == fd) mask = events;
    }
    std::fclose(info);
    return mask;
}

// A busy thread's queue holds a read notice while the epoll reports the
// socket again: that must change nothing in the epoll. Once the notice is
// taken and not answered, input leaves the epoll; a recv brings it back.
TEST_F(NetSocketNotifyTest, InputStaysWatchedWhileItsNoticeWaitsInTheQueue) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    kvtest::PumpFor(50);
    const int epollFd = GetMessageQueueFd();
    MSG msg;
    const auto lookWithoutTaking = [&] { EXPECT_FALSE(PeekMessage(msg, hwnd_, WM_USER + 50, WM_USER + 50)); };
    platform::send(client, "abc", 3, 0);
    pollfd readable{server, POLLIN, 0};
    ASSERT_EQ(::poll(&readable, 1, 3000), 1);
    lookWithoutTaking();
    lookWithoutTaking();
    lookWithoutTaking();
    EXPECT_TRUE(EpollMask(epollFd, server) & POLLIN) << "reported again with its notice queued";
    ASSERT_TRUE(PeekMessage(msg, hwnd_, kNotice, kNotice));
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    lookWithoutTaking();
    EXPECT_FALSE(EpollMask(epollFd, server) & POLLIN) << "taken, unanswered";
    char buf[8];
    ASSERT_EQ(platform::recv(server, buf, sizeof buf, 0), 3);
    EXPECT_TRUE(EpollMask(epollFd, server) & POLLIN) << "answered";
}

// A connected socket's end goes out at once from a caller with time to
// spare, else on a thread of the layer's own: either way the peer must get
// every byte sent before it, then the end of stream, whether the stream was
// shut down first or closed at once.
TEST_F(NetSocketNotifyTest, PeerGetsEveryByteThenTheEndAfterShutdownOrClose) {
    for (const auto& [shutDownFirst, busy] : {std::pair{true, false}, {false, false}, {true, true}, {false, true}}) {
        SCOPED_TRACE(std::string(shutDownFirst ? "shut down, then closed" : "closed") +
                     (busy ? ", working through a backlog" : ", time to spare"));
        const auto [server, client] = Connected(FD_READ | FD_WRITE | FD_CLOSE);
        // A busy thread takes message after message and never finds its
        // queue empty; an idle one has just found it so.
        const auto setPace = [busy] {
            kvtest::PumpFor(0);
            if (!busy) return;
            constexpr int kBacklog = 40;
            for (int i = 0; i < kBacklog; ++i) PostThreadMessage(GetCurrentThreadId(), WM_APP, 0, 0);
            MSG work{};
            for (int i = 0; i < kBacklog - 1; ++i) ASSERT_TRUE(PeekMessage(work, nullptr, WM_APP, WM_APP, PM_REMOVE));
        };
        const std::string sent(32 * 1024, 'k');
        ASSERT_EQ(platform::send(server, sent.data(), static_cast<int>(sent.size()), 0), static_cast<int>(sent.size()));
        if (shutDownFirst) {
            setPace();
            EXPECT_EQ(platform::shutdown(server, SD_SEND), 0);
            // Reading goes on after the sending side is shut down.
            platform::send(client, "r", 1, 0);
            ASSERT_TRUE(WaitFor(server, FD_READ));
            char byte = 0;
            EXPECT_EQ(platform::recv(server, &byte, 1, 0), 1);
        }
        setPace();
        EXPECT_EQ(platform::closesocket(server), 0);
        Forget(server);
        if (!busy) {
            pollfd ended{client, POLLRDHUP, 0};
            EXPECT_EQ(::poll(&ended, 1, 0), 1) << "an idle caller ends the stream itself";
        }
        kvtest::PumpFor(0);
        const DWORD limitMs = 5000;
        platform::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limitMs), sizeof limitMs);
        std::string received;
        char buf[4096];
        int n = 0;
        while ((n = platform::recv(client, buf, sizeof buf, 0)) > 0) received.append(buf, static_cast<std::size_t>(n));
        EXPECT_EQ(n, 0) << "the end of stream, not a time-out";
        EXPECT_EQ(received, sent);
    }
}

// A busy thread leaves its endings to the closer without waking it; they
// must still go out when it next waits, though it pumps no message.
TEST_F(NetSocketNotifyTest, EndingsLeftByABusyThreadGoOutWhenItWaits) {
    const auto busyClose = [this](SOCKET s) {
        kvtest::PumpFor(0);
        for (int i = 0; i < 40; ++i) PostThreadMessage(GetCurrentThreadId(), WM_APP, 0, 0);
        MSG work{};
        for (int i = 0; i < 39; ++i) ASSERT_TRUE(PeekMessage(work, nullptr, WM_APP, WM_APP, PM_REMOVE));
        ASSERT_EQ(platform::closesocket(s), 0);
        Forget(s);
    };
    // The first ending starts the closer; once it has gone out, the closer
    // sleeps.
    const auto first = Connected(FD_READ | FD_CLOSE);
    busyClose(first.server);
    kvtest::PumpFor(0);
    pollfd firstEnded{first.client, POLLRDHUP, 0};
    ASSERT_EQ(::poll(&firstEnded, 1, 3000), 1);
    Sleep(20);

    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    busyClose(server);
    const Event never(true, false);
    EXPECT_EQ(WaitForSingleObject(never, 10), WAIT_TIMEOUT);
    pollfd ended{client, POLLRDHUP, 0};
    EXPECT_EQ(::poll(&ended, 1, 3000), 1) << "the end went out during the wait";
    kvtest::PumpFor(0);
}

TEST_F(NetSocketNotifyTest, WriteNoticeOnceConnectedThenOnlyAfterWouldBlock) {
    const auto [server, client] = Connected(FD_WRITE | FD_READ);
    ASSERT_TRUE(WaitFor(server, FD_WRITE));
    kvtest::PumpFor(100);
    EXPECT_EQ(Count(server, FD_WRITE), 1);
    std::vector<char> block(65536, 'q');
    long sent = 0;
    int rc = 0;
    for (int i = 0; i < 10000 && rc != SOCKET_ERROR; ++i) {
        rc = platform::send(server, block.data(), static_cast<int>(block.size()), 0);
        if (rc > 0) sent += rc;
    }
    ASSERT_EQ(rc, SOCKET_ERROR);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    kvtest::PumpFor(50);
    EXPECT_EQ(Count(server, FD_WRITE), 1);
    long drained = 0;
    while (drained < sent) {
        const int n = platform::recv(client, block.data(), static_cast<int>(block.size()), 0);
        ASSERT_GT(n, 0);
        drained += n;
    }
    ASSERT_TRUE(WaitFor(server, FD_WRITE, 2));
    kvtest::PumpFor(50);
    EXPECT_EQ(Count(server, FD_WRITE), 2);
}

TEST_F(NetSocketNotifyTest, ConnectNoticeCarriesItsResult) {
    std::uint16_t port = 0;
    Keep(kvtest::MakeListener(port));
    const struct {
        std::uint16_t port;
        WORD error;
        int writes;
    } cases[] = {{port, 0, 1}, {kvtest::UnusedPort(), WSAECONNREFUSED, 0}};
    for (const auto& c : cases) {
        const SOCKET s = Keep(platform::socket(AF_INET, SOCK_STREAM, 0));
        ASSERT_EQ(WSAAsyncSelect(s, hwnd_, kNotice, FD_CONNECT | FD_WRITE | FD_READ | FD_CLOSE), 0);
        const sockaddr_in a = kvtest::Loopback(c.port);
        const int rc = platform::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        if (rc == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
            // Refused at once: Winsock reports it from the call, not by notice.
            EXPECT_EQ(WSAGetLastError(), c.error);
            continue;
        }
        ASSERT_TRUE(WaitFor(s, FD_CONNECT)) << c.port;
        kvtest::PumpFor(50);
        EXPECT_EQ(Count(s, FD_CONNECT), 1);
        EXPECT_EQ(Last(s, FD_CONNECT)->error, c.error);
        EXPECT_EQ(Count(s, FD_WRITE), c.writes);
        EXPECT_EQ(Count(s, FD_CLOSE), 0);
    }
}

TEST_F(NetSocketNotifyTest, AcceptNoticeRearmedByAccept) {
    std::uint16_t port = 0;
    const SOCKET listener = Keep(kvtest::MakeListener(port));
    ASSERT_EQ(WSAAsyncSelect(listener, hwnd_, kNotice, FD_ACCEPT), 0);
    Keep(kvtest::ConnectTo(port));
    Keep(kvtest::ConnectTo(port));
    ASSERT_TRUE(WaitFor(listener, FD_ACCEPT));
    kvtest::PumpFor(100);
    EXPECT_EQ(Count(listener, FD_ACCEPT), 1);
    Keep(platform::accept(listener, nullptr, nullptr));
    ASSERT_TRUE(WaitFor(listener, FD_ACCEPT, 2));
    Keep(platform::accept(listener, nullptr, nullptr));
    kvtest::PumpFor(100);
    EXPECT_EQ(Count(listener, FD_ACCEPT), 2);
}

// The ready sockets are asked for only every few messages while messages
// wait: a thread whose queue never empties (each message posts the next)
// must still hear its sockets, and soon.
TEST_F(NetSocketNotifyTest, AThreadWhoseQueueNeverEmptiesStillHearsItsSockets) {
    constexpr UINT kBusy = WM_USER + 7;
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    kvtest::PumpFor(50);
    int busy = 0;
    const HWND worker = CreateMessageWindow("Busy", "Busy", [&](HWND self, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == kBusy) {
            ++busy;
            PostMessage(self, kBusy, 0, 0);
        }
        return 0;
    });
    PostMessage(worker, kBusy, 0, 0);
    for (int i = 0; i < 5; ++i) {
        MSG msg;
        ASSERT_TRUE(GetMessage(msg));
        DispatchMessage(msg);
    }
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        platform::send(client, "x", 1, 0);
        ASSERT_EQ(WaitForSingleObject(WaitHandle::SocketReadable(server), 3000), WAIT_OBJECT_0);
        const int before = busy;
        MSG msg;
        while (Count(server, FD_READ) == round && busy - before < 1000) {
            ASSERT_TRUE(GetMessage(msg));
            DispatchMessage(msg);
        }
        EXPECT_EQ(Count(server, FD_READ), round + 1);
        EXPECT_LE(busy - before, 16) << "messages taken before the socket's notice";
        char byte;
        ASSERT_EQ(platform::recv(server, &byte, 1, 0), 1);
    }
    DestroyWindow(worker);
}

TEST_F(NetSocketNotifyTest, ClosingSocketDropsNoticesNotYetTaken) {
    const auto [server, client] = Connected(FD_READ);
    platform::send(client, "a", 1, 0);
    ASSERT_TRUE(WaitForSingleObject(WaitHandle::SocketReadable(server), 3000) == WAIT_OBJECT_0);
    MSG msg;
    // Collects the notice into the queue without taking it.
    ASSERT_TRUE(PeekMessage(msg, hwnd_, kNotice, kNotice, PM_NOREMOVE));
    platform::closesocket(server);
    Forget(server);
    EXPECT_FALSE(PeekMessage(msg, hwnd_, kNotice, kNotice, PM_NOREMOVE));
}

// A connect started and waited for without a window (as a worker does),
// then registered: a connection that came is told writable and relays; one
// that was refused is not told writable.
TEST_F(NetSocketNotifyTest, ASocketConnectedByAWaitIsRegisteredAsItStands) {
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused" : "connected");
        notices_.clear();
        std::uint16_t port = 0;
        const SOCKET listener = Keep(kvtest::MakeListener(port));
        if (refused) {
            platform::closesocket(listener);
            Forget(listener);
        }
        const SOCKET s = Keep(platform::socket(AF_INET, SOCK_STREAM, 0));
        DWORD nonBlocking = 1;
        ASSERT_EQ(platform::ioctlsocket(s, FIONBIO, &nonBlocking), 0);
        const sockaddr_in to = kvtest::Loopback(port);
        platform::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        ASSERT_EQ(WaitForSingleObject(WaitHandle::SocketConnected(s), 3000), WAIT_OBJECT_0);
        ASSERT_EQ(WSAAsyncSelect(s, hwnd_, kNotice, FD_READ | FD_WRITE | FD_CLOSE), 0);
        kvtest::PumpFor(50);
        if (refused) {
            EXPECT_EQ(Count(s, FD_WRITE), 0);
            continue;
        }
        EXPECT_EQ(Count(s, FD_WRITE), 1);
        const SOCKET far = Keep(platform::accept(listener, nullptr, nullptr));
        ASSERT_NE(far, INVALID_SOCKET);
        ASSERT_EQ(platform::send(far, "hi", 2, 0), 2);
        ASSERT_TRUE(WaitFor(s, FD_READ));
        char buf[4];
        EXPECT_EQ(platform::recv(s, buf, sizeof buf, 0), 2);
        platform::closesocket(far);
        Forget(far);
        EXPECT_TRUE(WaitFor(s, FD_CLOSE));
    }
}

TEST_F(NetSocketNotifyTest, NoticesFollowRegistrationToAnotherThread) {
    const auto [server, client] = Connected(FD_READ | FD_CLOSE);
    Event registered(true, false);
    Event sawRead(true, false);
    Event done(true, false);
    std::atomic<DWORD> noticeThread{0};
    Thread other = Thread::Start([&, s = server] {
        const HWND w = CreateMessageWindow("Other", "Other", [&](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
            if (message == kNotice && WSAGETSELECTEVENT(lParam) == FD_READ) {
                noticeThread = GetCurrentThreadId();
                sawRead.Set();
            }
            return 0;
        });
        WSAAsyncSelect(s, w, kNotice, FD_READ | FD_CLOSE);
        registered.Set();
        while (WaitForSingleObject(done, 0) == WAIT_TIMEOUT) kvtest::PumpFor(10);
        return 0u;
    });
    ASSERT_EQ(WaitForSingleObject(registered, 3000), WAIT_OBJECT_0);
    platform::send(client, "hi", 2, 0);
    EXPECT_EQ(WaitForSingleObject(sawRead, 3000), WAIT_OBJECT_0);
    done.Set();
    other.Join();
    EXPECT_EQ(noticeThread.load(), other.id());
    kvtest::PumpFor(50);
    EXPECT_EQ(Count(server, FD_READ), 0);
}

TEST_F(NetSocketNotifyTest, RegistrationFailsForDeadWindowOrClosedSocket) {
    const SOCKET s = Keep(platform::socket(AF_INET, SOCK_STREAM, 0));
    const HWND dead = CreateMessageWindow("Test", "Test", DefWindowProc);
    DestroyWindow(dead);
    EXPECT_EQ(WSAAsyncSelect(s, dead, kNotice, FD_READ), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    EXPECT_EQ(WSAAsyncSelect(54321, hwnd_, kNotice, FD_READ), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(NetSocketNotifyTest, HostLookupAnswersWithHostEntry) {
    std::vector<char> buffer(MAXGETHOSTSTRUCT);
    const ASYNCHANDLE h = WSAAsyncGetHostByName(hwnd_, kLookup, "localhost", buffer.data(), MAXGETHOSTSTRUCT);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(kvtest::PumpUntil([&] { return !lookups_.empty(); }, 5000));
    EXPECT_EQ(lookups_[0].first, h);
    EXPECT_EQ(WSAGETASYNCERROR(lookups_[0].second), 0);
    const auto* host = reinterpret_cast<const HOSTENT*>(buffer.data());
    ASSERT_NE(host->h_addr_list[0], nullptr);
    std::uint32_t address;
    std::memcpy(&address, host->h_addr_list[0], sizeof address);
    EXPECT_EQ(address, htonl(INADDR_LOOPBACK));
    EXPECT_STREQ(host->h_name, "localhost");
    EXPECT_EQ(WSACancelAsyncRequest(h), SOCKET_ERROR);  // already answered
}

TEST_F(NetSocketNotifyTest, HostLookupReportsUnknownNameAndSmallBuffer) {
    std::vector<char> buffer(MAXGETHOSTSTRUCT);
    WSAAsyncGetHostByName(hwnd_, kLookup, "bad..name", buffer.data(), MAXGETHOSTSTRUCT);
    char tiny[8];
    WSAAsyncGetHostByName(hwnd_, kLookup, "localhost", tiny, sizeof tiny);
    ASSERT_TRUE(kvtest::PumpUntil([&] { return lookups_.size() == 2; }, 5000));
    std::vector<int> errors;
    for (const auto& l : lookups_) errors.push_back(WSAGETASYNCERROR(l.second));
    std::sort(errors.begin(), errors.end());
    EXPECT_EQ(errors, (std::vector<int>{WSAENOBUFS, WSAHOST_NOT_FOUND}));
}

TEST_F(NetSocketNotifyTest, CancelledLookupNeitherWritesNorAnswers) {
    Event entered(true, false);
    Event release(true, false);
    const HostResolver previous = SetHostResolver([entered, release](const std::string&, std::vector<std::uint32_t>& out) {
        entered.Set();
        WaitForSingleObject(release, 5000);
        out.push_back(htonl(INADDR_LOOPBACK));
        return 0;
    });
    auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    std::memset(buffer.get(), 0x5A, MAXGETHOSTSTRUCT);
    const ASYNCHANDLE h = WSAAsyncGetHostByName(hwnd_, kLookup, "held.example", buffer.get(), MAXGETHOSTSTRUCT);
    ASSERT_EQ(WaitForSingleObject(entered, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WSACancelAsyncRequest(h), 0);
    release.Set();
    kvtest::PumpFor(200);
    SetHostResolver(previous);
    EXPECT_TRUE(lookups_.empty());
    EXPECT_TRUE(std::all_of(buffer.get(), buffer.get() + MAXGETHOSTSTRUCT, [](char c) { return c == 0x5A; }));
}

}  // namespace
