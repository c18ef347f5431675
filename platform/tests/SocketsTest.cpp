#include "platform/Sockets.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "LoopbackHelpers.h"
#include "platform/Time.h"
#include "platform/Wait.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;
using kvtest::Loopback;

class SocketsTest : public kvtest::RootedTest {};
class NetSocketsTest : public kvtest::RootedTest {};

TEST_F(SocketsTest, MapsErrnoToWsaNumbers) {
    const struct {
        int err;
        int wsa;
    } cases[] = {
        {0, 0},
        {EAGAIN, WSAEWOULDBLOCK},
        {EINPROGRESS, WSAEWOULDBLOCK},
        {EALREADY, WSAEALREADY},
        {EISCONN, WSAEISCONN},
        {ENOTCONN, WSAENOTCONN},
        {ECONNREFUSED, WSAECONNREFUSED},
        {ECONNRESET, WSAECONNRESET},
        {EPIPE, WSAECONNRESET},
        {ETIMEDOUT, WSAETIMEDOUT},
        {EADDRINUSE, WSAEADDRINUSE},
        {EINVAL, WSAEINVAL},
        {ENOTSOCK, WSAENOTSOCK},
        {EBADF, WSAENOTSOCK},
        {ENOBUFS, WSAENOBUFS},
    };
    for (const auto& c : cases) EXPECT_EQ(WSAErrorFromErrno(c.err), c.wsa) << c.err;
    EXPECT_EQ(WSAEWOULDBLOCK, 10035);
    EXPECT_EQ(WSAEALREADY, 10037);
    EXPECT_EQ(WSAEINVAL, 10022);
    EXPECT_EQ(WSANOTINITIALISED, 10093);
}

TEST_F(SocketsTest, ReadsDottedAddresses) {
    EXPECT_EQ(platform::inet_addr("127.0.0.1"), htonl(0x7F000001));
    EXPECT_EQ(platform::inet_addr("10.1.2.3"), htonl(0x0A010203));
    EXPECT_EQ(platform::inet_addr("www.example.com"), INADDR_NONE_VALUE);
    EXPECT_EQ(platform::inet_addr(""), INADDR_NONE_VALUE);
    EXPECT_EQ(platform::inet_addr(nullptr), INADDR_NONE_VALUE);
    in_addr a{htonl(0xC0A80001)};
    EXPECT_STREQ(platform::inet_ntoa(a), "192.168.0.1");
}

TEST_F(SocketsTest, StartupGrantsAtMostVersionTwoTwo) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    EXPECT_EQ(data.wVersion, 0x0202);
    ASSERT_EQ(WSAStartup(MAKEWORD(3, 0), &data), 0);
    EXPECT_EQ(data.wVersion, 0x0202);
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    EXPECT_EQ(data.wVersion, 0x0101);
    EXPECT_EQ(WSAStartup(MAKEWORD(1, 0), &data), WSAVERNOTSUPPORTED);
}

TEST_F(SocketsTest, ClosedHandleFailsWithWsaError) {
    char byte = 0;
    EXPECT_EQ(platform::recv(12345, &byte, 1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(NetSocketsTest, SendToClosedPeerFailsWithoutEndingProcess) {
    std::uint16_t port = 0;
    const SOCKET listener = kvtest::MakeListener(port);
    const SOCKET client = kvtest::ConnectTo(port);
    const SOCKET server = platform::accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);
    platform::closesocket(server);
    const char data[4096] = {};
    int result = 0;
    for (int i = 0; i < 100 && result != SOCKET_ERROR; ++i) {
        result = platform::send(client, data, sizeof data, 0);
        if (result != SOCKET_ERROR) Sleep(5);
    }
    EXPECT_EQ(result, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    platform::closesocket(client);
    platform::closesocket(listener);
}

TEST_F(NetSocketsTest, ListenerRebindsAtOnceAfterRestart) {
    std::uint16_t port = 0;
    SOCKET listener = kvtest::MakeListener(port);
    const SOCKET client = kvtest::ConnectTo(port);
    const SOCKET server = platform::accept(listener, nullptr, nullptr);
    // The server side closes first, so its end waits in TIME_WAIT.
    platform::closesocket(server);
    char byte;
    EXPECT_EQ(platform::recv(client, &byte, 1, 0), 0);
    platform::closesocket(client);
    platform::closesocket(listener);
    std::uint16_t again = 0;
    listener = kvtest::MakeListener(again, port);
    ASSERT_NE(listener, INVALID_SOCKET) << WSAGetLastError();
    EXPECT_EQ(again, port);
    platform::closesocket(listener);
}

// A listener asked for a backlog of 5 still queues a burst of connections
// that nobody accepts yet; with 5 the kernel would drop the rest, each then
// retried a second later and again while the queue stays full.
TEST_F(NetSocketsTest, ListenQueuesABurstOfConnections) {
    EXPECT_GE(ListenBacklog(5), SOMAXCONN);
    EXPECT_EQ(ListenBacklog(1 << 20), 1 << 20);
    const SOCKET listener = platform::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(0);
    ASSERT_EQ(platform::bind(listener, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(platform::listen(listener, 5), 0);
    const sockaddr_in to = Loopback(kvtest::PortOf(listener));
    constexpr int kBurst = 64;
    std::vector<SOCKET> clients;
    for (int i = 0; i < kBurst; ++i) {
        const SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
        DWORD on = 1;
        ASSERT_EQ(ioctlsocket(s, FIONBIO, &on), 0);
        const int rc = platform::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        ASSERT_TRUE(rc == 0 || WSAGetLastError() == WSAEWOULDBLOCK);
        clients.push_back(s);
    }
    int connected = 0;
    const DWORD start = GetTickCount();
    for (const SOCKET s : clients) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed >= 5000 ? 0 : 5000 - elapsed;
        if (WaitForSingleObject(WaitHandle::SocketConnected(s), left) != WAIT_OBJECT_0) continue;
        int error = -1;
        int length = sizeof error;
        platform::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
        if (error == 0) ++connected;
    }
    EXPECT_EQ(connected, kBurst);
    for (const SOCKET s : clients) platform::closesocket(s);
    platform::closesocket(listener);
}

TEST_F(NetSocketsTest, SecondListenerOnSamePortIsRefused) {
    std::uint16_t port = 0;
    const SOCKET first = kvtest::MakeListener(port);
    const SOCKET second = platform::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(port);
    EXPECT_EQ(platform::bind(second, reinterpret_cast<const sockaddr*>(&a), sizeof a), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEADDRINUSE);
    platform::closesocket(second);
    platform::closesocket(first);
}

TEST_F(NetSocketsTest, NonBlockingConnectIsWaitedForAndReportsItsError) {
    std::uint16_t port = 0;
    const SOCKET listener = kvtest::MakeListener(port);
    const struct {
        std::uint16_t port;
        int error;
    } cases[] = {{port, 0}, {kvtest::UnusedPort(), WSAECONNREFUSED}};
    for (const auto& c : cases) {
        const SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
        DWORD on = 1;
        ASSERT_EQ(ioctlsocket(s, FIONBIO, &on), 0);
        const sockaddr_in a = Loopback(c.port);
        const int rc = platform::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        if (rc == SOCKET_ERROR) {
            EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
            ASSERT_EQ(WaitForSingleObject(WaitHandle::SocketConnected(s), 5000), WAIT_OBJECT_0);
        }
        int error = -1;
        int length = sizeof error;
        ASSERT_EQ(platform::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length), 0);
        EXPECT_EQ(error, c.error) << c.port;
        platform::closesocket(s);
    }
    platform::closesocket(listener);
}

TEST_F(NetSocketsTest, ReadableWaitWakesOnDataAndTimesOutWithout) {
    std::uint16_t port = 0;
    const SOCKET listener = kvtest::MakeListener(port);
    const SOCKET client = kvtest::ConnectTo(port);
    const SOCKET server = platform::accept(listener, nullptr, nullptr);
    EXPECT_EQ(WaitForSingleObject(WaitHandle::SocketReadable(server), 20), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(WaitHandle::SocketWritable(server), 1000), WAIT_OBJECT_0);
    platform::send(client, "x", 1, 0);
    EXPECT_EQ(WaitForSingleObject(WaitHandle::SocketReadable(server), 5000), WAIT_OBJECT_0);
    DWORD waiting = 0;
    EXPECT_EQ(ioctlsocket(server, FIONREAD, &waiting), 0);
    EXPECT_EQ(waiting, 1u);
    for (const SOCKET s : {client, server, listener}) platform::closesocket(s);
}

TEST_F(NetSocketsTest, TimeOptionsTakeMilliseconds) {
    const SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    const DWORD set = 2000;
    ASSERT_EQ(platform::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&set), sizeof set), 0);
    DWORD got = 0;
    int length = sizeof got;
    ASSERT_EQ(platform::getsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&got), &length), 0);
    EXPECT_EQ(got, 2000u);
    platform::closesocket(s);
}

TEST_F(NetSocketsTest, ResolvesLocalhostAndRefusesBadName) {
    const HOSTENT* host = platform::gethostbyname("localhost");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->h_addr_list[0], nullptr);
    std::uint32_t first;
    std::memcpy(&first, host->h_addr_list[0], sizeof first);
    EXPECT_EQ(first, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(platform::gethostbyname("bad..name"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
}

TEST_F(NetSocketsTest, TestsReachOnlyLoopback) {
    // Every test root turns the restriction on.
    ASSERT_TRUE(platform::sockets_test::IsRestrictedToLoopback());
    EXPECT_EQ(platform::gethostbyname("example.org"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
    ASSERT_NE(platform::gethostbyname("127.0.0.2"), nullptr);

    const SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in away{};
    away.sin_family = AF_INET;
    away.sin_port = htons(80);
    away.sin_addr.s_addr = htonl(0x0A000001);   // 10.0.0.1
    EXPECT_EQ(platform::connect(s, reinterpret_cast<const sockaddr*>(&away), sizeof away), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENETUNREACH);
    platform::closesocket(s);

    EXPECT_TRUE(platform::sockets_test::IsLoopbackHost("localhost"));
    EXPECT_TRUE(platform::sockets_test::IsLoopbackHost("127.1.2.3"));
    EXPECT_FALSE(platform::sockets_test::IsLoopbackHost("10.255.255.53"));
    EXPECT_FALSE(platform::sockets_test::IsLoopbackHost("example.org"));
}

// Runs in a child whose descriptor 0 was closed before it started.
TEST_F(NetSocketsTest, ChildSocketIsNeverDescriptorZero) {
    if (!std::getenv("KV_FD_ZERO_CHILD")) GTEST_SKIP() << "runs only in the child of KeepsStandardDescriptorsOpen";
    EXPECT_NE(::fcntl(0, F_GETFD), -1);
    const SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_GT(s, 2);
    platform::closesocket(s);
}

TEST_F(NetSocketsTest, KeepsStandardDescriptorsOpen) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(0);
        ::setenv("KV_FD_ZERO_CHILD", "1", 1);
        const char* argv[] = {"platform_msg_tests", "--gtest_filter=NetSocketsTest.ChildSocketIsNeverDescriptorZero",
                              nullptr};
        ::execv("/proc/self/exe", const_cast<char* const*>(argv));
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
