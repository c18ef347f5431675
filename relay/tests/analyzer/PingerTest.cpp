// The ICMP echo behind CCommonBase::Ping: the messages it takes as an
// answer, and pings on loopback (in the test program's own network, and in
// a private network where the test plays the router).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/IcmpSocket.h"
#include "platform/Sockets.h"
#include "relay/analyzer/CIcmpPinger.h"
#include "relay/upstream/CCommonBase.h"
#include "rig/Loopback.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<unsigned char>;
using eReply = CIcmpPinger::eReply;

constexpr std::uint8_t kTimeExceeded = 11;
constexpr std::uint8_t kInTransit = 0;
constexpr std::uint8_t kReassembly = 1;

std::uint16_t OwnIdentifier() { return static_cast<std::uint16_t>(::getpid() & 0xFFFF); }

platform::DWORD Address(const char* dotted) { return platform::inet_addr(dotted); }

Bytes operator+(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A 20-byte IPv4 header in front of payload bytes of protocol.
Bytes IpHeader(std::uint8_t protocol, platform::DWORD from, platform::DWORD to, std::size_t payload) {
    Bytes header(20, 0);
    header[0] = 0x45;
    header[2] = static_cast<unsigned char>((20 + payload) >> 8);
    header[3] = static_cast<unsigned char>((20 + payload) & 0xFF);
    header[8] = 1;
    header[9] = protocol;
    std::memcpy(&header[12], &from, 4);
    std::memcpy(&header[16], &to, 4);
    return header;
}

Bytes EchoReply(std::uint16_t identifier) {
    Bytes reply = CIcmpPinger::EchoRequest(identifier);
    reply[0] = 0;
    return reply;
}

// What a router sends back about an echo request to destination that it
// dropped: type 11, the code, and the request's IP header and first 8 bytes.
Bytes TimeExceeded(std::uint8_t code, std::uint16_t identifier, platform::DWORD destination,
                   std::size_t requestBytes = 8) {
    Bytes request = CIcmpPinger::EchoRequest(identifier);
    request.resize(requestBytes);
    Bytes message = Bytes{kTimeExceeded, code, 0, 0, 0, 0, 0, 0} +
                    IpHeader(IPPROTO_ICMP, Address("127.0.0.1"), destination, CIcmpPinger::kPayloadSize + 8) +
                    request;
    const std::uint16_t sum = CIcmpPinger::Checksum(message.data(), message.size());
    message[2] = static_cast<unsigned char>(sum >> 8);
    message[3] = static_cast<unsigned char>(sum & 0xFF);
    return message;
}

TEST(IcmpPingerTest, EchoRequestCarriesItsChecksumAndPayload) {
    // The worked example of the Internet checksum's definition.
    const unsigned char sample[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    EXPECT_EQ(CIcmpPinger::Checksum(sample, sizeof sample), 0x220d);
    const unsigned char odd[] = {0x01, 0x02, 0x03};
    EXPECT_EQ(CIcmpPinger::Checksum(odd, sizeof odd), static_cast<std::uint16_t>(~(0x0102 + 0x0300) & 0xFFFF));

    const std::vector<unsigned char> request = CIcmpPinger::EchoRequest(0x1234);
    ASSERT_EQ(request.size(), 40u);
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(request[4], 0x12);
    EXPECT_EQ(request[5], 0x34);
    EXPECT_EQ(request[7], 1);
    EXPECT_EQ(std::string(request.begin() + 8, request.end()), "abcdefghijklmnopqrstuvwabcdefghi");
    // A message holding its own checksum sums to zero.
    EXPECT_EQ(CIcmpPinger::Checksum(request.data(), request.size()), 0);
}

TEST(IcmpPingerTest, JudgesEchoRepliesAndTimeExceededMessages) {
    const std::uint16_t id = 0x4242;
    const platform::DWORD host = Address("127.0.0.9");
    const platform::DWORD other = Address("127.0.0.8");
    const platform::DWORD router = Address("127.0.0.1");
    const auto fromHost = [&](const Bytes& icmp) { return IpHeader(IPPROTO_ICMP, host, router, icmp.size()) + icmp; };
    const auto fromRouter = [&](const Bytes& icmp) {
        return IpHeader(IPPROTO_ICMP, router, router, icmp.size()) + icmp;
    };
    Bytes udpInside = TimeExceeded(kInTransit, id, host);
    udpInside[8 + 9] = IPPROTO_UDP;
    struct Case {
        const char* name;
        Bytes message;
        bool withIpHeader;
        platform::DWORD from;
        eReply reply;
    };
    const Case cases[] = {
        {"echo reply", fromHost(EchoReply(id)), true, host, eReply::Answered},
        {"echo reply on the echo socket", EchoReply(id), false, host, eReply::Answered},
        {"echo reply to another request", fromHost(EchoReply(id + 1)), true, host, eReply::Ignored},
        {"echo reply from another host", fromHost(EchoReply(id)), true, other, eReply::Ignored},
        {"our own request on its way out", fromHost(CIcmpPinger::EchoRequest(id)), true, host, eReply::Ignored},
        {"time exceeded in transit", fromRouter(TimeExceeded(kInTransit, id, host)), true, router, eReply::Answered},
        {"time exceeded in reassembly", fromRouter(TimeExceeded(kReassembly, id, host)), true, router,
         eReply::NoAnswer},
        {"time exceeded for another request", fromRouter(TimeExceeded(kInTransit, id + 1, host)), true, router,
         eReply::Ignored},
        {"time exceeded for a request to another host", fromRouter(TimeExceeded(kInTransit, id, other)), true,
         router, eReply::Ignored},
        {"time exceeded for a datagram of another protocol", fromRouter(udpInside), true, router, eReply::Ignored},
        {"time exceeded cut inside the request", fromRouter(TimeExceeded(kInTransit, id, host, 6)), true, router,
         eReply::Ignored},
        {"shorter than its header and 8", fromHost(Bytes(7, 0)), true, host, eReply::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CIcmpPinger::JudgeMessage(c.message.data(), c.message.size(), c.withIpHeader, id, host, c.from),
                  c.reply);
    }
}

TEST(IcmpPingerTest, LoopbackAnswersWhereTheSystemPermitsIcmpSockets) {
    kvtest::TempRoot root;
    bool permitted = false;
    for (const auto open : {platform::IcmpRawSocket, platform::IcmpEchoSocket}) {
        const platform::SOCKET probe = open();
        if (probe != platform::INVALID_SOCKET) {
            platform::closesocket(probe);
            permitted = true;
        } else {
            EXPECT_EQ(platform::WSAGetLastError(), platform::WSAEACCES);
        }
    }
    // Not permitted counts as no answer.
    EXPECT_EQ(CCommonBase::Ping("127.0.0.1"), permitted);
}

TEST(IcmpPingerTest, UnknownHostGetsNoAnswer) {
    kvtest::TempRoot root;
    const platform::HostResolver previous =
        platform::SetHostResolver([](const std::string&, std::vector<std::uint32_t>&) { return platform::WSAHOST_NOT_FOUND; });
    CIcmpPinger pinger;
    EXPECT_EQ(pinger.Ping("no-such-host.test"), 0);
    EXPECT_EQ(pinger.Ping(nullptr), 0);
    platform::SetHostResolver(previous);
}

// Runs body on a thread in a network namespace of its own, whose loopback
// is up and answers no echo request: an answer can only be a message the
// test sends. Empty when body ran, else what the runner lacks.
std::string InPrivateNetwork(const std::function<void()>& body) {
    std::string lacking;
    std::thread thread([&] {
        // Only this thread (and the threads it starts) moves.
        if (::unshare(CLONE_NEWNET) != 0) {
            lacking = "a network namespace of its own (CAP_SYS_ADMIN)";
            return;
        }
        kvtest::UniqueFd control(::socket(AF_INET, SOCK_DGRAM, 0));
        ifreq request{};
        std::strcpy(request.ifr_name, "lo");
        if (!control || ::ioctl(control.get(), SIOCGIFFLAGS, &request) != 0) {
            lacking = "a loopback interface";
            return;
        }
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        // The namespace's own setting, gone with the namespace.
        kvtest::UniqueFd ignoreEcho(::open("/proc/sys/net/ipv4/icmp_echo_ignore_all", O_WRONLY | O_CLOEXEC));
        if (::ioctl(control.get(), SIOCSIFFLAGS, &request) != 0 || !ignoreEcho ||
            ::write(ignoreEcho.get(), "1", 1) != 1) {
            lacking = "the network settings of its own namespace";
            return;
        }
        const platform::SOCKET raw = platform::IcmpRawSocket();
        if (raw == platform::INVALID_SOCKET) {
            lacking = "raw ICMP sockets (CAP_NET_RAW)";
            return;
        }
        platform::closesocket(raw);
        body();
    });
    thread.join();
    return lacking;
}

TEST(IcmpPingerTest, TimeExceededAboutTheRequestCountsAsAnAnswer) {
    kvtest::TempRoot root;
    struct Case {
        const char* name;
        bool inject;
        std::uint8_t code;
        std::uint16_t identifier;
        int result;
    };
    const Case cases[] = {
        {"time exceeded in transit", true, kInTransit, OwnIdentifier(), 1},
        {"time exceeded in reassembly", true, kReassembly, OwnIdentifier(), 0},
        {"time exceeded about another request", true, kInTransit, static_cast<std::uint16_t>(OwnIdentifier() + 1), 0},
        {"nothing comes back", false, kInTransit, OwnIdentifier(), 0},
    };
    const std::string lacking = InPrivateNetwork([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            std::atomic<bool> pinged{false};
            // The router's message goes out every 20 ms until the ping ends.
            std::thread router([&] {
                if (!c.inject) return;
                kvtest::UniqueFd s(::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP));
                const Bytes message = TimeExceeded(c.code, c.identifier, Address("127.0.0.1"));
                sockaddr_in to{};
                to.sin_family = AF_INET;
                to.sin_addr.s_addr = Address("127.0.0.1");
                for (int i = 0; i < 150 && !pinged.load(); ++i) {
                    ::sendto(s.get(), message.data(), message.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                             sizeof to);
                    std::this_thread::sleep_for(20ms);
                }
            });
            CIcmpPinger pinger;
            const int result = pinger.Ping("127.0.0.1");
            pinged.store(true);
            router.join();
            EXPECT_EQ(result, c.result);
        }
    });
    if (!lacking.empty()) GTEST_SKIP() << "This runner lacks " << lacking << ", which the test needs.";
}

}  // namespace
