#pragma once
// One ICMP echo to a host (one object per ping), behind CCommonBase::Ping.
// It uses the system's unprivileged echo socket: a system that does not
// permit one gets no answer. Diagnostics go to the standard streams.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/SocketHandle.h"
#include "platform/Types.h"

class CIcmpPinger {
public:
    static constexpr std::size_t kBufferSize = 5000;
    static constexpr std::size_t kPayloadSize = 32;
    static constexpr platform::DWORD kSendTimeOut = 1000;
    static constexpr platform::DWORD kRecvTimeOut = 1000;
    static constexpr int kFirstTtl = 200;
    static constexpr int kTtl = 50;
    static constexpr std::uint16_t kSequence = 1;

    CIcmpPinger();
    CIcmpPinger(const CIcmpPinger&) = delete;
    CIcmpPinger& operator=(const CIcmpPinger&) = delete;
    ~CIcmpPinger();

    // 1 when host (a name or a dotted address) answered within the receive
    // time-out; 0 for no answer, an unknown host or a refused socket; -1 on
    // a receive error.
    int Ping(const char* host);
    // Milliseconds since the request was sent.
    double GetElapsedMs() const;

    // The Internet checksum of bytes.
    static std::uint16_t Checksum(const unsigned char* bytes, std::size_t length);
    // The echo request: type 8, code 0, identifier, sequence 1, the payload
    // "abc...w" then "abc...i", and its checksum.
    static std::vector<unsigned char> EchoRequest(std::uint16_t identifier);

private:
    int Receive(std::uint16_t identifier);
    void CloseSocket();

    platform::SOCKET m_Socket = platform::INVALID_SOCKET;
    std::vector<char> m_Buffer;
    std::chrono::steady_clock::time_point m_Start;
};
