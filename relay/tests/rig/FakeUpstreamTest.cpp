// The scripted fake upstream: exact bytes out (whole, in pieces, late),
// every byte in recorded, one script per connection in accept order.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "rig/FakeUpstream.h"
#include "rig/LoopbackClient.h"
#include "support/TempRoot.h"

namespace {
using namespace std::chrono_literals;
using kvtest::FakeScript;
using kvtest::FakeUpstream;
using kvtest::LoopbackClient;
using Read = LoopbackClient::Read;

class FakeUpstreamTest : public kvtest::RootedTest {};

const std::string kGreeting("\x05\x01\x00", 3);
const std::string kRequest("\x05\x01\x00\x01\x7f\x00\x00\x01\x1f\x90", 10);
const std::string kReply("\x05\x00\x00\x01\x7f\x00\x00\x01\x1f\x90", 10);

TEST_F(FakeUpstreamTest, PlaysItsStepsAndRecordsEveryByteReceived) {
    FakeUpstream fake(FakeScript()
                          .Expect(3)
                          .SendInPieces(std::string("\x05\x00", 2), 1, 30ms)
                          .Expect(10)
                          .Send(kReply + "surplus")
                          .Close());
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(fake.port()));
    ASSERT_TRUE(client.SendAll(kGreeting));
    std::string choice;
    // The two bytes come in two writes 30 ms apart.
    ASSERT_EQ(client.ReadSome(choice, 5s), Read::Data);
    EXPECT_EQ(choice, std::string(1, '\x05'));
    ASSERT_EQ(client.ReadSome(choice, 5s), Read::Data);
    EXPECT_EQ(choice, std::string("\x05\x00", 2));
    ASSERT_TRUE(client.SendAll(kRequest));
    EXPECT_EQ(client.ReadUntilClosed(5s), kReply + "surplus");

    ASSERT_TRUE(fake.WaitFinished(1, 5s));
    const kvtest::FakeSession session = fake.Sessions().at(0);
    EXPECT_EQ(session.received, kGreeting + kRequest);
    EXPECT_TRUE(session.scriptCompleted);
}

TEST_F(FakeUpstreamTest, GivesEachConnectionItsScriptInAcceptOrder) {
    FakeUpstream fake({FakeScript().Send("first").Close(), FakeScript().Send("again").Close()});
    std::string replies;
    for (int i = 0; i < 3; ++i) {
        LoopbackClient client;
        ASSERT_TRUE(client.Connect(fake.port()));
        replies += client.ReadUntilClosed(5s) + ";";
    }
    EXPECT_EQ(replies, "first;again;again;");
    ASSERT_TRUE(fake.WaitFinished(3, 5s));
    const auto sessions = fake.Sessions();
    ASSERT_EQ(sessions.size(), 3u);
    EXPECT_LE(sessions[0].acceptedAt, sessions[1].acceptedAt);
    EXPECT_LE(sessions[1].acceptedAt, sessions[2].acceptedAt);
}

TEST_F(FakeUpstreamTest, StaysSilentForItsSilenceThenAnswers) {
    FakeUpstream fake(FakeScript().Silence(400ms).Send("late").Close());
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(fake.port()));
    std::string early;
    EXPECT_EQ(client.ReadSome(early, 100ms), Read::TimedOut);
    EXPECT_EQ(client.ReadUntilClosed(5s), "late");
}

TEST_F(FakeUpstreamTest, KeepsAnOpenEndUntilTheClientClosesAndRecordsIt) {
    FakeUpstream fake(FakeScript().ExpectUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\n\r\n"));
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(fake.port()));
    ASSERT_TRUE(client.SendAll("CONNECT a:1 HTTP/1.1\r\n\r\n"));
    std::string reply;
    ASSERT_EQ(client.ReadSome(reply, 5s), Read::Data);
    ASSERT_TRUE(client.SendAll("tunnel bytes"));
    EXPECT_EQ(client.ReadSome(reply, 100ms), Read::TimedOut);
    client.Close();
    ASSERT_TRUE(fake.WaitFinished(1, 5s));
    const kvtest::FakeSession session = fake.Sessions().at(0);
    EXPECT_EQ(session.received, "CONNECT a:1 HTTP/1.1\r\n\r\ntunnel bytes");
    EXPECT_TRUE(session.clientClosed);
    EXPECT_TRUE(session.scriptCompleted);
}

TEST_F(FakeUpstreamTest, EchoesWhatArrives) {
    FakeUpstream fake(FakeScript().Expect(2).Echo());
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(fake.port()));
    ASSERT_TRUE(client.SendAll("hi, there"));
    std::string echoed;
    while (echoed.size() < 7 && client.ReadSome(echoed, 5s) == Read::Data) {
    }
    EXPECT_EQ(echoed, ", there");
}

TEST_F(FakeUpstreamTest, MarksAScriptWhoseExpectationWasNotMet) {
    FakeUpstream fake(FakeScript().Expect(10).Send("never"));
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(fake.port()));
    ASSERT_TRUE(client.SendAll("abc"));
    client.Close();
    ASSERT_TRUE(fake.WaitFinished(1, 5s));
    const kvtest::FakeSession session = fake.Sessions().at(0);
    EXPECT_EQ(session.received, "abc");
    EXPECT_FALSE(session.scriptCompleted);
}

TEST_F(FakeUpstreamTest, StopsWithASilentConnectionStillOpen) {
    LoopbackClient client;
    {
        FakeUpstream fake(FakeScript().Silence(60s).Send("never"));
        ASSERT_TRUE(client.Connect(fake.port()));
        ASSERT_TRUE(fake.WaitAccepted(1, 5s));
    }
    std::string rest;
    EXPECT_EQ(client.ReadSome(rest, 5s), Read::Closed);
    EXPECT_EQ(rest, "");
}

}  // namespace
