// The ICMP echo behind CCommonBase::Ping, on loopback only.

#include <gtest/gtest.h>

#include <string>

#include "platform/IcmpSocket.h"
#include "platform/Sockets.h"
#include "relay/analyzer/CIcmpPinger.h"
#include "relay/upstream/CCommonBase.h"
#include "support/TempRoot.h"

namespace {

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

TEST(IcmpPingerTest, LoopbackAnswersWhereTheSystemPermitsEchoSockets) {
    kvtest::TempRoot root;
    const platform::SOCKET probe = platform::IcmpEchoSocket();
    const bool permitted = probe != platform::INVALID_SOCKET;
    if (permitted) {
        platform::closesocket(probe);
    } else {
        EXPECT_EQ(platform::WSAGetLastError(), platform::WSAEACCES);
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

}  // namespace
