#include "relay/analyzer/CIcmpPinger.h"

#include <unistd.h>

#include <cstdio>

#include "platform/IcmpSocket.h"
#include "platform/Sockets.h"
#include "relay/pool/ProxyAddress.h"

namespace {
constexpr std::size_t kHeaderSize = 8;
constexpr unsigned char kEchoReply = 0;
constexpr unsigned char kEchoRequest = 8;

std::uint16_t Read16(const char* bytes) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]));
}
}  // namespace

CIcmpPinger::CIcmpPinger() : m_Buffer(kBufferSize, '\0'), m_Start(std::chrono::steady_clock::now()) {}

CIcmpPinger::~CIcmpPinger() { CloseSocket(); }

void CIcmpPinger::CloseSocket() {
    if (m_Socket != platform::INVALID_SOCKET) platform::closesocket(m_Socket);
    m_Socket = platform::INVALID_SOCKET;
}

std::uint16_t CIcmpPinger::Checksum(const unsigned char* bytes, std::size_t length) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2) sum += static_cast<std::uint32_t>((bytes[i] << 8) | bytes[i + 1]);
    if (length % 2) sum += static_cast<std::uint32_t>(bytes[length - 1] << 8);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::vector<unsigned char> CIcmpPinger::EchoRequest(std::uint16_t identifier) {
    std::vector<unsigned char> message(kHeaderSize + kPayloadSize, 0);
    message[0] = kEchoRequest;
    message[4] = static_cast<unsigned char>(identifier >> 8);
    message[5] = static_cast<unsigned char>(identifier & 0xFF);
    message[6] = static_cast<unsigned char>(kSequence >> 8);
    message[7] = static_cast<unsigned char>(kSequence & 0xFF);
    for (std::size_t i = 0; i < kPayloadSize; ++i) message[kHeaderSize + i] = static_cast<unsigned char>('a' + i % 23);
    const std::uint16_t sum = Checksum(message.data(), message.size());
    message[2] = static_cast<unsigned char>(sum >> 8);
    message[3] = static_cast<unsigned char>(sum & 0xFF);
    return message;
}

int CIcmpPinger::Ping(const char* host) {
    CloseSocket();
    const platform::DWORD address = host ? ConvertIP(host) : 0;
    if (address == 0) {
        std::fprintf(stderr, "Unknown host: %s\n", host ? host : "");
        return 0;
    }
    m_Socket = platform::IcmpEchoSocket();
    if (m_Socket == platform::INVALID_SOCKET) {
        std::fprintf(stderr, "ICMP socket failed: %d\n", platform::WSAGetLastError());
        return 0;
    }
    const platform::DWORD sendTimeOut = kSendTimeOut;
    platform::setsockopt(m_Socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeOut),
                         sizeof sendTimeOut);
    const int firstTtl = kFirstTtl;
    platform::setsockopt(m_Socket, IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&firstTtl), sizeof firstTtl);
    const int ttl = kTtl;
    platform::setsockopt(m_Socket, IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);

    // The system names the request by the socket's port: ask for the
    // process's identifier, or take the one it gives.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(::getpid() & 0xFFFF));
    if (platform::bind(m_Socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        local.sin_port = 0;
        platform::bind(m_Socket, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    }
    int length = sizeof local;
    platform::getsockname(m_Socket, reinterpret_cast<sockaddr*>(&local), &length);
    const std::uint16_t identifier = ntohs(local.sin_port);

    const std::vector<unsigned char> request = EchoRequest(identifier);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = address;
    m_Start = std::chrono::steady_clock::now();
    if (platform::sendto(m_Socket, reinterpret_cast<const char*>(request.data()), static_cast<int>(request.size()), 0,
                         reinterpret_cast<const sockaddr*>(&remote), sizeof remote) < 0) {
        std::fprintf(stderr, "ICMP send failed: %d\n", platform::WSAGetLastError());
        CloseSocket();
        return 0;
    }
    const platform::DWORD recvTimeOut = kRecvTimeOut;
    platform::setsockopt(m_Socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&recvTimeOut),
                         sizeof recvTimeOut);
    const int result = Receive(identifier);
    CloseSocket();
    return result;
}

int CIcmpPinger::Receive(std::uint16_t identifier) {
    while (GetElapsedMs() < kRecvTimeOut) {
        sockaddr_in from{};
        int fromLength = sizeof from;
        const int n = platform::recvfrom(m_Socket, m_Buffer.data(), static_cast<int>(m_Buffer.size()), 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0) {
            const int error = platform::WSAGetLastError();
            if (error == platform::WSAEWOULDBLOCK || error == platform::WSAETIMEDOUT) return 0;
            if (error == platform::WSAEINTR) continue;
            std::fprintf(stderr, "ICMP receive failed: %d\n", error);
            return -1;
        }
        if (static_cast<std::size_t>(n) < kHeaderSize) continue;
        const char* reply = m_Buffer.data();
        if (static_cast<unsigned char>(reply[0]) == kEchoReply && Read16(reply + 4) == identifier &&
            Read16(reply + 6) == kSequence) {
            return 1;
        }
    }
    return 0;
}

double CIcmpPinger::GetElapsedMs() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_Start).count();
}
