// The bounded socket steps of the chain-setup worker: connect, send,
// receive, the client handshakes over them, one hop, and the proxy tests.

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/Sockets.h"
#include "platform/Time.h"
#include "platform/Wait.h"
#include "relay/engine/CProxyServer.h"
#include "relay/pool/CProxy.h"
#include "relay/upstream/CCommonBase.h"
#include "relay/upstream/CHttpConnectHandshake.h"
#include "relay/upstream/CProxyProbe.h"
#include "relay/upstream/CSocks4Handshake.h"
#include "relay/upstream/CSocks5Handshake.h"

namespace {

constexpr int kSocksReplyRead = 4096;
constexpr int kHttpReplyRead = static_cast<int>(CHttpConnectHandshake::kMaxReplyHead);
constexpr int kSocks5ProbeRead = 10;

bool ValidPort(int port) { return port >= 1 && port <= 65535; }

// Milliseconds left of limit since start; 0 once it has passed.
platform::DWORD Remaining(platform::DWORD start, platform::DWORD limit) {
    const platform::DWORD elapsed = platform::GetTickCount() - start;
    return elapsed >= limit ? 0 : limit - elapsed;
}

}  // namespace

void CCommonBase::Abort(platform::SOCKET& s) {
    if (s != platform::INVALID_SOCKET && s != 0) {
        platform::shutdown(s, platform::SD_BOTH);
        platform::closesocket(s);
    }
    s = platform::INVALID_SOCKET;
}

bool CCommonBase::WaitFor(platform::SOCKET& s, bool write, platform::DWORD ms) {
    const platform::WaitHandle socket =
        write ? platform::WaitHandle::SocketConnected(s) : platform::WaitHandle::SocketReadable(s);
    // The stop and kill events come first so that they win over a ready
    // socket.
    const platform::DWORD woke = platform::WaitForMultipleObjects(
        {platform::WaitHandle(CProxyServer::mStopEvent), platform::WaitHandle(m_KillEvent), socket}, false, ms);
    if (woke == platform::WAIT_OBJECT_0 || woke == platform::WAIT_OBJECT_0 + 1) {
        Abort(s);
        throw false;
    }
    return woke == platform::WAIT_OBJECT_0 + 2;
}

bool CCommonBase::Connect(platform::SOCKET& s, const char* address, int port) {
    Abort(s);
    CheckIsKilled();
    const platform::DWORD ip = address ? CProxyAttrib::ConvertIP(address) : 0;
    // 0.0.0.0 would reach this host itself.
    if (ip == 0 || ip == platform::INADDR_NONE_VALUE || !ValidPort(port)) return false;

    s = platform::socket(AF_INET, SOCK_STREAM, 0);
    if (s == platform::INVALID_SOCKET) {
        std::printf("Error at socket(): %ld\n", static_cast<long>(platform::WSAGetLastError()));
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    platform::DWORD nonBlocking = 1;
    if (platform::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        platform::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        Abort(s);
        return false;
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(port));
    remote.sin_addr.s_addr = ip;
    if (platform::connect(s, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0 &&
        platform::WSAGetLastError() != platform::WSAEWOULDBLOCK) {
        Abort(s);
        return false;
    }
    if (!WaitFor(s, true, static_cast<platform::DWORD>(m_ConnectionTimeOut))) {
        Abort(s);
        return false;
    }
    int error = 0;
    int length = sizeof error;
    if (platform::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 ||
        error != 0) {
        Abort(s);
        return false;
    }
    return true;
}

int CCommonBase::TimeOutRecv(platform::SOCKET& s, char* buffer, int length, platform::DWORD timeOut,
                             eRecvStatus& status) {
    status = RECV_ERROR;
    if (s == platform::INVALID_SOCKET || !buffer || length <= 0) return -1;
    const platform::DWORD start = platform::GetTickCount();
    for (;;) {
        const platform::DWORD left = Remaining(start, timeOut);
        if (left == 0 || !WaitFor(s, false, left)) {
            Abort(s);
            status = RECV_TIMEOUT;
            return -1;
        }
        const int n = platform::recv(s, buffer, length, 0);
        if (n > 0) {
            status = RECV_DATA;
            return n;
        }
        if (n == 0) return 0;
        if (platform::WSAGetLastError() != platform::WSAEWOULDBLOCK) return -1;
    }
}

bool CCommonBase::SendAll(platform::SOCKET& s, const std::string& bytes) {
    if (s == platform::INVALID_SOCKET) return false;
    const platform::DWORD start = platform::GetTickCount();
    const platform::DWORD limit = static_cast<platform::DWORD>(m_SendRecvTimeOut);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = platform::send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0 || platform::WSAGetLastError() != platform::WSAEWOULDBLOCK) return false;
        const platform::DWORD left = Remaining(start, limit);
        if (left == 0 || !WaitFor(s, true, left)) return false;
    }
    return true;
}

eConnectionStatus CCommonBase::Drive(platform::SOCKET& s, CUpstreamHandshake& handshake, int maxRead,
                                     platform::DWORD& responseTime, std::string* surplus) {
    std::vector<char> buffer(static_cast<std::size_t>(maxRead));
    const platform::DWORD limit = static_cast<platform::DWORD>(m_SendRecvTimeOut);
    HandshakeStep step = handshake.Start();
    platform::DWORD sentAt = platform::GetTickCount();
    // Each pass takes at least one byte, and each reply must be whole
    // within the limit counted from its request.
    for (;;) {
        if (!step.send.empty()) {
            sentAt = platform::GetTickCount();
            if (!SendAll(s, step.send)) return CONNECTION_FAILED;
        }
        if (step.done()) {
            responseTime = platform::GetTickCount() - sentAt;
            if (surplus && step.status == CONNECTION_CONNECTED) *surplus = std::move(step.surplus);
            return step.status;
        }
        const platform::DWORD left = Remaining(sentAt, limit);
        eRecvStatus status = RECV_ERROR;
        const int n = left == 0 ? -1 : TimeOutRecv(s, buffer.data(), maxRead, left, status);
        if (n <= 0) return CONNECTION_FAILED;
        step = handshake.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
}

eConnectionStatus CCommonBase::ConnectSOCKS4(platform::SOCKET& s, platform::DWORD address, int port,
                                             platform::DWORD& responseTime) {
    eConnectionStatus result = CONNECTION_REFUSED;
    if (address != 0 && ValidPort(port)) {
        CSocks4Handshake handshake(address, static_cast<std::uint16_t>(port));
        result = Drive(s, handshake, kSocksReplyRead, responseTime, &m_UpstreamSurplus);
    }
    if (result != CONNECTION_CONNECTED) Abort(s);
    return result;
}

eConnectionStatus CCommonBase::ConnectSOCKS5(platform::SOCKET& s, platform::DWORD address, int port,
                                             platform::DWORD& responseTime) {
    eConnectionStatus result = CONNECTION_REFUSED;
    if (address != 0 && ValidPort(port)) {
        CSocks5Handshake handshake(address, static_cast<std::uint16_t>(port));
        result = Drive(s, handshake, kSocksReplyRead, responseTime, &m_UpstreamSurplus);
    }
    if (result != CONNECTION_CONNECTED) Abort(s);
    return result;
}

eConnectionStatus CCommonBase::ConnectHTTPT(platform::SOCKET& s, const char* host, int port,
                                            platform::DWORD& responseTime) {
    eConnectionStatus result = CONNECTION_REFUSED;
    if (host && *host && ValidPort(port)) {
        CHttpConnectHandshake handshake(host, static_cast<std::uint16_t>(port));
        result = Drive(s, handshake, kHttpReplyRead, responseTime, &m_UpstreamSurplus);
    }
    if (result != CONNECTION_CONNECTED) Abort(s);
    return result;
}

eConnectionStatus CCommonBase::ConnectFromTo(CProxy& first, CProxy& second, platform::SOCKET& s, int type) {
    CheckIsKilled();
    if (type == PROXY_TYPE_UNKNOWN) type = first.getType();
    platform::DWORD responseTime = 0;
    eConnectionStatus result = CONNECTION_CONNECTED;
    m_UpstreamSurplus.clear();
    switch (type) {
    case PROXY_TYPE_HTTPS:
        result = ConnectHTTPT(s, second.getIP(), second.getPort(), responseTime);
        break;
    case PROXY_TYPE_SOCKS4:
        result = ConnectSOCKS4(s, CProxyAttrib::ConvertIP(second.getIP()), second.getPort(), responseTime);
        break;
    case PROXY_TYPE_SOCKS5:
        result = ConnectSOCKS5(s, CProxyAttrib::ConvertIP(second.getIP()), second.getPort(), responseTime);
        break;
    default:
        return CONNECTION_CONNECTED;
    }
    if (result == CONNECTION_CONNECTED) return result;
    // Whom to blame: the first proxy, unless it still passes its test.
    return TestProxyServer(first) == 0 ? CONNECTION_REFUSED : CONNECTION_FAILED;
}

int CCommonBase::RunProbe(CProxy& proxy, CUpstreamHandshake& probe, int maxRead) {
    platform::SOCKET s = platform::INVALID_SOCKET;
    if (!Connect(s, proxy.getIP(), proxy.getPort())) return 1;
    platform::DWORD responseTime = 0;
    const eConnectionStatus result = Drive(s, probe, maxRead, responseTime, nullptr);
    Abort(s);
    return result == CONNECTION_CONNECTED ? 0 : 1;
}

int CCommonBase::TestProxyServer(CProxy& proxy) {
    switch (proxy.getType()) {
    case PROXY_TYPE_HTTP:
        return TestHttpServer(proxy);
    case PROXY_TYPE_HTTPS:
        return TestHttpsServer(proxy);
    case PROXY_TYPE_SOCKS4:
        return TestSocks4Server(proxy);
    case PROXY_TYPE_SOCKS5:
        return TestSocks5Server(proxy);
    default:
        return 1;
    }
}

int CCommonBase::TestHttpServer(CProxy& proxy) {
    CProxyProbe probe = CProxyProbe::Http(proxy.getIP());
    return RunProbe(proxy, probe, kSocksReplyRead);
}

int CCommonBase::TestHttpsServer(CProxy& proxy) {
    CProxyProbe probe = CProxyProbe::Https(proxy.getIP());
    return RunProbe(proxy, probe, kSocksReplyRead);
}

int CCommonBase::TestSocks4Server(CProxy& proxy) {
    CProxyProbe probe = CProxyProbe::Socks4();
    return RunProbe(proxy, probe, kSocksReplyRead);
}

int CCommonBase::TestSocks5Server(CProxy& proxy) {
    CProxyProbe probe = CProxyProbe::Socks5();
    return RunProbe(proxy, probe, kSocks5ProbeRead);
}
