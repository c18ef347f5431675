#pragma once
// One ICMP echo to a host (one object per ping), behind CCommonBase::Ping.
// It opens a raw ICMP socket where the process may, and the system's
// unprivileged echo socket otherwise; a system that permits neither gets no
// answer. On the raw socket an echo reply and a time-exceeded message about
// the request both count; the echo socket hands back echo replies only.
// Diagnostics go to the standard streams.

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

    // What one received message says about the ping.
    enum class eReply {
        Ignored,   // another host's or another request's message: wait on
        Answered,  // the host answered (result 1)
        NoAnswer,  // the ping ends without an answer (result 0)
    };

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
    // Judges one message read for the request identifier sent to
    // destination (network order); from: the sender. withIpHeader: the
    // message is an IPv4 datagram, as the raw socket reads it. An echo
    // reply from the destination with the identifier and sequence answers;
    // so does a time-exceeded message enclosing that request, except code 1
    // (fragment reassembly), which ends the ping without an answer; a
    // message too short for its header ends it too.
    static eReply JudgeMessage(const unsigned char* bytes, std::size_t length, bool withIpHeader,
                               std::uint16_t identifier, platform::DWORD destination, platform::DWORD from);

private:
    // Opens the raw socket, else the echo socket; false when neither.
    bool OpenSocket();
    // The identifier the request carries on the open socket.
    std::uint16_t TakeIdentifier();
    int Receive(std::uint16_t identifier, platform::DWORD destination);
    void CloseSocket();

    platform::SOCKET m_Socket = platform::INVALID_SOCKET;
    bool m_bRawSocket = false;
    std::vector<char> m_Buffer;
    std::chrono::steady_clock::time_point m_Start;
};
