#include <gtest/gtest.h>

#include <glib.h>

#include <chrono>
#include <cstdlib>

#include "platform/SessionClient.h"
#include "support/FakeSessionManager.h"
#include "support/TempRoot.h"

namespace {

using kvtest::FakeSessionManager;

template <class Done>
bool IterateUntil(Done done, std::chrono::milliseconds within = std::chrono::seconds(5)) {
    const auto limit = std::chrono::steady_clock::now() + within;
    while (!done() && std::chrono::steady_clock::now() < limit) g_main_context_iteration(nullptr, FALSE);
    return done();
}

struct Seen {
    int queries = 0;
    int ends = 0;
};

class SessionClientTest : public kvtest::RootedTest {};

platform::SessionClient::Handlers Count(Seen& seen) {
    return {[&seen] { ++seen.queries; }, [&seen] { ++seen.ends; }};
}

TEST_F(SessionClientTest, RegistersAgreesToAQueryAndAnswersAnEndOnlyWhenConfirmed) {
    FakeSessionManager manager;
    ASSERT_TRUE(manager.Start());
    setenv("DESKTOP_AUTOSTART_ID", "kv-test-start", 1);
    Seen seen;
    {
        platform::SessionClient client("KVDesk", Count(seen));
        EXPECT_EQ(std::getenv("DESKTOP_AUTOSTART_ID"), nullptr) << "the start-up id is not handed on";
        ASSERT_TRUE(IterateUntil([&] { return client.IsRegistered(); }));
        EXPECT_EQ(manager.Clients(), std::vector<std::string>{"KVDesk"});

        manager.QueryEndSession();
        ASSERT_TRUE(IterateUntil([&] { return manager.Answers().size() == 1; }));
        EXPECT_EQ(seen.queries, 1);
        EXPECT_EQ(manager.Answers(), std::vector<bool>{true});

        manager.EndSession();
        ASSERT_TRUE(IterateUntil([&] { return seen.ends == 1; }));
        EXPECT_EQ(manager.Answers().size(), 1u) << "no answer before the program is ready";
        client.ConfirmEnd();
        EXPECT_EQ(manager.Answers(), (std::vector<bool>{true, true}));
        client.ConfirmEnd();
        EXPECT_EQ(manager.Answers().size(), 2u) << "one answer per end";

        manager.Stop();
        ASSERT_TRUE(IterateUntil([&] { return seen.ends == 2; }));
    }
    EXPECT_EQ(manager.Unregistered(), 1);
    EXPECT_EQ(manager.Answers().size(), 2u) << "a stop waits for no answer";
}

TEST_F(SessionClientTest, AnEndNotYetConfirmedIsAnsweredWhenTheClientGoes) {
    FakeSessionManager manager;
    ASSERT_TRUE(manager.Start());
    Seen seen;
    {
        platform::SessionClient client("KVDesk", Count(seen));
        ASSERT_TRUE(IterateUntil([&] { return client.IsRegistered(); }));
        manager.EndSession();
        ASSERT_TRUE(IterateUntil([&] { return seen.ends == 1; }));
    }
    EXPECT_EQ(manager.Answers(), std::vector<bool>{true});
}

TEST_F(SessionClientTest, WithoutASessionManagerNothingHappens) {
    Seen seen;
    platform::SessionClient client("KVDesk", Count(seen));
    IterateUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_FALSE(client.IsRegistered());
}

}  // namespace
