#include "relay/analyzer/CIcmpPinger.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/IcmpSocket.h"
#include "platform/Sockets.h"
#include "relay/pool/ProxyAddress.h"

namespace {
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kMinIpHeader = 20;
constexpr unsigned char kEchoReply = 0;
constexpr unsigned char kEchoRequest = 8;
constexpr unsigned char kTimeExceeded = 11;
constexpr unsigned char kReassemblyTimeExceeded = 1;  // the code of a time-out while reassembling fragments

std::uint16_t Read16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
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

CIcmpPinger::eReply CIcmpPinger::JudgeMessage(const unsigned char* bytes, std::size_t length, bool withIpHeader,
                                              std::uint16_t identifier, platform::DWORD destination,
                                              platform::DWORD from) {
    const std::size_t header = withIpHeader && length > 0 ? static_cast<std::size_t>(bytes[0] & 0x0F) * 4 : 0;
    if (length < header + kHeaderSize) return eReply::NoAnswer;
    const unsigned char* icmp = bytes + header;
    const std::size_t icmpLength = length - header;
    const auto isOurRequest = [&](const unsigned char* message) {
        return Read16(message + 4) == identifier && Read16(message + 6) == kSequence;
    };
    if (icmp[0] == kEchoReply) {
        return isOurRequest(icmp) && from == destination ? eReply::Answered : eReply::Ignored;
    }
    if (icmp[0] != kTimeExceeded) return eReply::Ignored;
    // The datagram the router gave up on: its IP header, then at least the
    // first 8 bytes of our echo request.
    const unsigned char* enclosed = icmp + kHeaderSize;
    const std::size_t enclosedLength = icmpLength - kHeaderSize;
    if (enclosedLength < kMinIpHeader) return eReply::Ignored;
    const std::size_t enclosedHeader = static_cast<std::size_t>(enclosed[0] & 0x0F) * 4;
    if (enclosedHeader < kMinIpHeader || enclosedLength < enclosedHeader + kHeaderSize) return eReply::Ignored;
    platform::DWORD enclosedDestination = 0;
    std::memcpy(&enclosedDestination, enclosed + 16, sizeof enclosedDestination);
    const unsigned char* request = enclosed + enclosedHeader;
    if (enclosed[9] != IPPROTO_ICMP || enclosedDestination != destination || request[0] != kEchoRequest ||
        !isOurRequest(request)) {
        return eReply::Ignored;
    }
    return icmp[1] == kReassemblyTimeExceeded ? eReply::NoAnswer : eReply::Answered;
}

bool CIcmpPinger::OpenSocket() {
    m_Socket = platform::IcmpRawSocket();
    m_bRawSocket = m_Socket != platform::INVALID_SOCKET;
    if (!m_bRawSocket) m_Socket = platform::IcmpEchoSocket();
    return m_Socket != platform::INVALID_SOCKET;
}

std::uint16_t CIcmpPinger::TakeIdentifier() {
    const auto own = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    if (m_bRawSocket) return own;
    // The system names the echo socket's requests by its port: ask for the
    // process's identifier, or take the one it gives.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(own);
    if (platform::bind(m_Socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        local.sin_port = 0;
        platform::bind(m_Socket, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    }
    int length = sizeof local;
    platform::getsockname(m_Socket, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

int CIcmpPinger::Ping(const char* host) {
    CloseSocket();
    const platform::DWORD address = host ? ConvertIP(host) : 0;
    if (address == 0) {
        std::fprintf(stderr, "Unknown host: %s\n", host ? host : "");
        return 0;
    }
    if (!OpenSocket()) {
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
    const std::uint16_t identifier = TakeIdentifier();

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
    const int result = Receive(identifier, address);
    CloseSocket();
    return result;
}

int CIcmpPinger::Receive(std::uint16_t identifier, platform::DWORD destination) {
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
        // A datagram larger than the buffer comes cut to it.
        switch (JudgeMessage(reinterpret_cast<const unsigned char*>(m_Buffer.data()), static_cast<std::size_t>(n),
                             m_bRawSocket,
                             identifier, destination, from.sin_addr.s_addr)) {
        case eReply::Answered:
            return 1;
        case eReply::NoAnswer:
            return 0;
        case eReply::Ignored:
            break;
        }
    }
    return 0;
}

double CIcmpPinger::GetElapsedMs() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_Start).count();
}
