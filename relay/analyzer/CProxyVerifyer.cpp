#include "relay/analyzer/CProxyVerifyer.h"

#include <array>
#include <cstdio>

#include "platform/Sockets.h"
#include "platform/Time.h"
#include "platform/Wait.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/IPoolHost.h"
#include "relay/pool/ProxyAddress.h"
#include "relay/upstream/CHttpConnectHandshake.h"

namespace {

constexpr std::size_t kSocks4Reply = 8;
constexpr std::size_t kSocks5Reply = 2;
constexpr char kHeadEnd[] = "\r\n\r\n";

platform::DWORD Remaining(platform::DWORD start, platform::DWORD limit) {
    const platform::DWORD elapsed = platform::GetTickCount() - start;
    return elapsed >= limit ? 0 : limit - elapsed;
}

void AppendPort(std::string& out, std::uint16_t port) {
    out.push_back(static_cast<char>(port >> 8));
    out.push_back(static_cast<char>(port & 0xFF));
}

void AppendAddress(std::string& out, platform::DWORD networkOrder) {
    const auto* bytes = reinterpret_cast<const char*>(&networkOrder);
    out.append(bytes, 4);
}

std::string Formatted(const char* format, const std::string& value) {
    std::array<char, 512> text{};
    std::snprintf(text.data(), text.size(), format, value.c_str());
    return text.data();
}

}  // namespace

CProxyVerifyer::CProxyVerifyer(CAnalyzerConfig* config, CProxyMap* pool)
    : m_pConfig(config), m_pPool(pool), m_Buffer(kBufferSize, '\0') {}

CProxyVerifyer::CProxyVerifyer() : m_Buffer(kBufferSize, '\0') {}

CProxyVerifyer::CProxyVerifyer(const CProxyVerifyer& other) : m_Buffer(kBufferSize, '\0') {
    *this = other;
}

CProxyVerifyer& CProxyVerifyer::operator=(const CProxyVerifyer& other) {
    if (this == &other) return *this;
    CloseSocket();
    m_pConfig = other.m_pConfig;
    m_pPool = other.m_pPool;
    m_Port = other.m_Port;
    m_Address = other.m_Address;
    m_ResolvedAddress = other.m_ResolvedAddress;
    m_pProxy = other.m_pProxy;
    m_Judges = other.m_Judges;
    return *this;
}

CProxyVerifyer::~CProxyVerifyer() { CloseSocket(); }

bool CProxyVerifyer::CheckProxy(CProxy* proxy, eProxyType type) {
    if (!proxy || !m_pConfig) return false;
    m_pProxy = proxy;
    m_Judges = m_pConfig->getJudgeHosts();
    bool passed = false;
    switch (type) {
    case PROXY_TYPE_UNKNOWN:
        return FullCheck();
    case PROXY_TYPE_HTTP:
        passed = VerifyHttpExternal();
        break;
    case PROXY_TYPE_HTTPS:
        passed = VerifyHttpsExternal();
        break;
    case PROXY_TYPE_SOCKS4:
        passed = VerifySocks4();
        break;
    case PROXY_TYPE_SOCKS5:
        passed = VerifySocks5();
        break;
    default:
        return false;
    }
    CloseSocket();
    return passed;
}

bool CProxyVerifyer::FullCheck() {
    CProxy& proxy = *m_pProxy;
    m_Address = proxy.getIP();
    m_Port = static_cast<std::uint16_t>(proxy.getPort());
    // A proxy named by its host (as the parser finds them) is resolved as
    // the chain-setup worker resolves destinations; an unknown name leaves
    // 0, which no test connects to.
    m_ResolvedAddress = CProxyAttrib::ConvertIP(m_Address.c_str());
    Log(Formatted(" Checking %s:", m_Address));

    bool passed = false;
    if (!Ping()) {
        if (!Stopping()) proxy.setFailReason(kTimeout);
    } else {
        Log("    Verifying...");
        using Test = bool (CProxyVerifyer::*)();
        static constexpr Test kMixed[] = {&CProxyVerifyer::VerifySocks4, &CProxyVerifyer::VerifySocks5,
                                          &CProxyVerifyer::VerifyHttpsExternal,
                                          &CProxyVerifyer::VerifyHttpExternal};
        static constexpr Test kHttpOnly[] = {&CProxyVerifyer::VerifyHttpsExternal,
                                             &CProxyVerifyer::VerifyHttpExternal};
        const bool mixed = GetPoolHost().GetMixChain();
        const Test* tests = mixed ? kMixed : kHttpOnly;
        const std::size_t count = mixed ? std::size(kMixed) : std::size(kHttpOnly);
        for (std::size_t i = 0; i < count && !passed && !Stopping(); ++i) passed = (this->*tests[i])();
        if (!passed) proxy.setType(PROXY_TYPE_UNKNOWN);
    }

    if (passed) {
        if (m_pPool) {
            const std::string country = m_pPool->IFindCountry(CProxyAttrib::ConvertIP(m_ResolvedAddress).c_str());
            if (!country.empty()) proxy.setCountry(country.c_str());
        }
        CloseSocket();
        Log("    Ok");
        return true;
    }
    CloseSocket();
    Log("    Failed");
    proxy.setRank(-1);
    return false;
}

bool CProxyVerifyer::Ping() {
    if (!m_pProxy) return false;
    const platform::DWORD start = platform::GetTickCount();
    if (!Connect("    Pinging Proxy ...")) return false;
    m_pProxy->setResponseTime(static_cast<double>(platform::GetTickCount() - start));
    Log("    Connection Succeeded...");
    return true;
}

std::string CProxyVerifyer::JudgeAuthority() const {
    if (m_Judges.httpPort == 80) return m_Judges.httpHost;
    return m_Judges.httpHost + ":" + std::to_string(m_Judges.httpPort);
}

bool CProxyVerifyer::JudgeAnswered() const {
    const std::string_view response = Response();
    return response.starts_with("HTTP/") &&
           (m_Judges.marker.empty() || response.find(m_Judges.marker) != std::string_view::npos);
}

bool CProxyVerifyer::VerifyHttpExternal() {
    if (!Connect("    Verifying HTTP...")) return false;
    Log("    Sending test request...");
    const std::string judge = JudgeAuthority();
    if (!SendRequest("HEAD http://" + judge + "/ HTTP/1.0\r\nHost: " + judge +
                     "\r\nConnection: keep-alive\r\n\r\n")) {
        return false;
    }
    if (ReceiveResponse(1, kHeadEnd) == 0) return false;
    if (!JudgeAnswered()) return Unexpected();
    SetProxyType(PROXY_TYPE_HTTP);
    return true;
}

bool CProxyVerifyer::VerifyHttpsExternal() {
    if (!Connect("    Verifying HTTPS...")) return false;
    Log("    Sending test request...");
    const std::string target = m_Judges.httpHost + ":" + std::to_string(m_Judges.httpPort);
    if (!SendRequest("CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n\r\n")) return false;
    if (ReceiveResponse(1, kHeadEnd) == 0) return false;
    const std::string_view reply = Response();
    if (CHttpConnectHandshake::StatusCode(reply.substr(0, reply.find("\r\n"))) != 200) return Unexpected();

    const std::string judge = JudgeAuthority();
    if (!SendRequest("HEAD http://" + judge + "/ HTTP/1.1\r\nHost: " + judge +
                     "\r\nConnection: keep-alive\r\n\r\n")) {
        return false;
    }
    if (ReceiveResponse(1, kHeadEnd) == 0) return false;
    if (!JudgeAnswered()) return Unexpected();
    SetProxyType(PROXY_TYPE_HTTPS);
    return true;
}

bool CProxyVerifyer::VerifySocks4() {
    if (!Connect("    Verifying SOCKS4...")) return false;
    Log("    Sending test request...");
    const platform::DWORD judge = JudgeSocksAddress();
    if (judge == 0) return Unexpected();
    std::string request{'\x04', '\x01'};
    AppendPort(request, m_Judges.socksPort);
    AppendAddress(request, judge);
    request += "a";
    request.push_back('\0');
    if (!SendRequest(request)) return false;
    if (ReceiveResponse(kSocks4Reply, nullptr) == 0) return false;
    const std::string_view reply = Response();
    if (reply.size() < 2 || static_cast<unsigned char>(reply[1]) != 0x5A) return Unexpected();
    SetProxyType(PROXY_TYPE_SOCKS4);
    return true;
}

bool CProxyVerifyer::VerifySocks5() {
    if (!Connect("    Verifying SOCKS5...")) return false;
    if (!SendRequest(std::string{'\x05', '\x01', '\x00'})) return false;
    if (ReceiveResponse(kSocks5Reply, nullptr) == 0) return false;
    std::string_view reply = Response();
    if (reply.size() < kSocks5Reply || reply[0] != '\x05') return Unexpected();
    if (reply[1] != '\x00') {
        m_pProxy->setFailReason(kNeedAuth);
        Log("    Sock5 Proxy Need Auth.");
        CloseSocket();
        return false;
    }
    Log("    Sending second test request...");
    const platform::DWORD judge = JudgeSocksAddress();
    if (judge == 0) return Unexpected();
    std::string request{'\x05', '\x01', '\x00', '\x01'};
    AppendAddress(request, judge);
    AppendPort(request, m_Judges.socksPort);
    if (!SendRequest(request)) return false;
    if (ReceiveResponse(kSocks5Reply, nullptr) == 0) return false;
    reply = Response();
    if (reply.size() < kSocks5Reply || reply[0] != '\x05' || reply[1] != '\x00') return Unexpected();
    SetProxyType(PROXY_TYPE_SOCKS5);
    return true;
}

bool CProxyVerifyer::Connect(const char* text) {
    if (Stopping()) return false;
    CloseSocket();
    if (!OpenSocket()) return false;
    platform::SOCKET s = platform::INVALID_SOCKET;
    {
        std::lock_guard lock(m_SocketCS);
        s = m_Socket;
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(m_Port);
    remote.sin_addr.s_addr = m_ResolvedAddress;
    const bool addressable = remote.sin_addr.s_addr != platform::INADDR_NONE_VALUE &&
                             remote.sin_addr.s_addr != 0 && m_Port != 0;
    if (!addressable ||
        (platform::connect(s, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0 &&
         platform::WSAGetLastError() != platform::WSAEWOULDBLOCK)) {
        Log("Connection Failure!");
        CloseSocket();
        return false;
    }
    if (!WaitForSocket(true, static_cast<platform::DWORD>(m_pConfig->getTimeOut()))) {
        CloseSocket();
        return false;
    }
    int error = 0;
    int length = sizeof error;
    if (platform::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 ||
        error != 0) {
        Log("Connection Failure!");
        CloseSocket();
        return false;
    }
    Log(text);
    m_pProxy->setIP(m_Address.c_str());
    m_pProxy->setPort(m_Port);
    return true;
}

bool CProxyVerifyer::SendRequest(const std::string& bytes) {
    if (!StillOk()) return false;
    platform::SOCKET s = platform::INVALID_SOCKET;
    {
        std::lock_guard lock(m_SocketCS);
        s = m_Socket;
    }
    const platform::DWORD start = platform::GetTickCount();
    const platform::DWORD limit = static_cast<platform::DWORD>(m_pConfig->getTimeOut());
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = platform::send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        const platform::DWORD left = Remaining(start, limit);
        if (n == 0 || platform::WSAGetLastError() != platform::WSAEWOULDBLOCK || left == 0 ||
            !WaitForSocket(true, left)) {
            break;
        }
    }
    if (sent == bytes.size()) return true;
    CloseSocket();
    if (!Stopping()) {
        m_pProxy->setType(PROXY_TYPE_UNKNOWN);
        m_pProxy->setFailReason(kSendFailed);
    }
    return false;
}

int CProxyVerifyer::ReceiveResponse(std::size_t minimum, const char* delimiter) {
    Log("    Receiving response...");
    m_Received = 0;
    platform::SOCKET s = platform::INVALID_SOCKET;
    {
        std::lock_guard lock(m_SocketCS);
        s = m_Socket;
    }
    const platform::DWORD start = platform::GetTickCount();
    const platform::DWORD limit = static_cast<platform::DWORD>(m_pConfig->getTimeOut());
    const std::size_t room = m_Buffer.size() - 1;
    while (s != platform::INVALID_SOCKET && m_Received < room) {
        const platform::DWORD left = Remaining(start, limit);
        if (left == 0 || !WaitForSocket(false, left)) break;
        const int n = platform::recv(s, m_Buffer.data() + m_Received, static_cast<int>(room - m_Received), 0);
        if (n < 0 && platform::WSAGetLastError() == platform::WSAEWOULDBLOCK) continue;
        if (n <= 0) break;
        m_Received += static_cast<std::size_t>(n);
        if (m_Received >= minimum && (!delimiter || Response().find(delimiter) != std::string_view::npos)) break;
    }
    // What came before a stop is not judged.
    if (Stopping()) m_Received = 0;
    m_Buffer[m_Received] = '\0';
    if (m_Received > 0) return static_cast<int>(m_Received);
    CloseSocket();
    if (!Stopping()) {
        m_pProxy->setType(PROXY_TYPE_UNKNOWN);
        m_pProxy->setFailReason(kReceiveFailed);
    }
    return 0;
}

std::string_view CProxyVerifyer::Response() const { return {m_Buffer.data(), m_Received}; }

bool CProxyVerifyer::Unexpected() {
    m_pProxy->setFailReason(kUnexpected);
    CloseSocket();
    return false;
}

bool CProxyVerifyer::WaitForSocket(bool write, platform::DWORD ms) {
    platform::SOCKET s = platform::INVALID_SOCKET;
    {
        std::lock_guard lock(m_SocketCS);
        s = m_Socket;
    }
    if (s == platform::INVALID_SOCKET) return false;
    const platform::WaitHandle socket =
        write ? platform::WaitHandle::SocketConnected(s) : platform::WaitHandle::SocketReadable(s);
    // The stop event comes first so that it wins over a ready socket.
    const platform::DWORD woke = platform::WaitForMultipleObjects(
        {platform::WaitHandle(m_pConfig->GetProxyConfig().GetStopEvent()), socket}, false, ms);
    return woke == platform::WAIT_OBJECT_0 + 1 && !Stopping();
}

bool CProxyVerifyer::Stopping() const {
    return m_pConfig && m_pConfig->GetProxyConfig().getShouldStop();
}

void CProxyVerifyer::Log(const std::string& text) {
    if (m_pConfig) m_pConfig->GetProxyConfig().AddToLog(text.c_str());
}

platform::DWORD CProxyVerifyer::JudgeSocksAddress() const {
    return ConvertIP(m_Judges.socksHost.c_str());
}

void CProxyVerifyer::Abort() {
    std::lock_guard lock(m_SocketCS);
    if (m_Socket != platform::INVALID_SOCKET) platform::shutdown(m_Socket, platform::SD_BOTH);
}

void CProxyVerifyer::CloseSocket() {
    platform::SOCKET s = platform::INVALID_SOCKET;
    {
        std::lock_guard lock(m_SocketCS);
        std::swap(s, m_Socket);
    }
    if (s != platform::INVALID_SOCKET) {
        platform::shutdown(s, platform::SD_BOTH);
        platform::closesocket(s);
    }
}

int CProxyVerifyer::ResolveType(int port) {
    if (port == 80 || port == 8080 || port == 3128) return PROXY_TYPE_HTTPS;
    if (port == 1080) return PROXY_TYPE_SOCKS5;
    return 0;
}

void CProxyVerifyer::SetProxyType(eProxyType type) {
    if (!m_pProxy) return;
    m_pProxy->setType(type);
    if (type != PROXY_TYPE_UNKNOWN) m_pProxy->setFailReason("");
}

void CProxyVerifyer::SetProxyAnonymous(bool anonymous) {
    if (!m_pProxy) return;
    m_pProxy->setIsAnonymous(anonymous);
    Log(anonymous ? "    Anonymous" : "    Not-Anonymous");
}

bool CProxyVerifyer::ErrorInConnection() {
    if (!m_pProxy) return false;
    m_pProxy->setType(PROXY_TYPE_UNKNOWN);
    m_pProxy->setFailReason("Error in coneection");
    m_pProxy->setRank(-1);
    return false;
}

bool CProxyVerifyer::OpenSocket() {
    const platform::SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    if (s == platform::INVALID_SOCKET) return false;
    platform::DWORD nonBlocking = 1;
    if (platform::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        platform::closesocket(s);
        return false;
    }
    CloseSocket();
    std::lock_guard lock(m_SocketCS);
    m_Socket = s;
    return true;
}

bool CProxyVerifyer::StillOk() {
    if (!Stopping()) return true;
    CloseSocket();
    return false;
}

bool CProxyVerifyer::GetLocalIP() const { return true; }

void CProxyVerifyer::CheckAnonymaty() {}
