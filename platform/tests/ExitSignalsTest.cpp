#include <gtest/gtest.h>

#include <glib.h>

#include <chrono>
#include <csignal>

#include "platform/ExitSignals.h"
#include "support/TempRoot.h"

namespace {

// Runs the default GLib main context until done() holds or a second passes.
template <class Done>
bool IterateUntil(Done done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!done() && std::chrono::steady_clock::now() < limit) g_main_context_iteration(nullptr, FALSE);
    return done();
}

bool HasDefaultAction(int signalNumber) {
    struct sigaction action {};
    sigaction(signalNumber, nullptr, &action);
    return action.sa_handler == SIG_DFL;
}

class ExitSignalsTest : public testing::TestWithParam<int> {
protected:
    kvtest::TempRoot root_;
    void TearDown() override { platform::ExitSignals::Unwatch(); }
};

TEST_P(ExitSignalsTest, TheSignalReachesTheLoopInsteadOfEndingTheProgram) {
    const int signalNumber = GetParam();
    int seen = 0;
    int calls = 0;
    platform::ExitSignals::Watch([&](int number) {
        seen = number;
        ++calls;
    });
    ASSERT_EQ(std::raise(signalNumber), 0);
    EXPECT_EQ(calls, 0) << "the handler runs from the loop, not inside the signal";
    ASSERT_TRUE(IterateUntil([&] { return calls > 0; }));
    EXPECT_EQ(seen, signalNumber);
    EXPECT_EQ(calls, 1);

    platform::ExitSignals::Unwatch();
    EXPECT_TRUE(HasDefaultAction(signalNumber)) << "unwatched, the signal ends the program again";
}

INSTANTIATE_TEST_SUITE_P(EndSignals, ExitSignalsTest, testing::Values(SIGTERM, SIGHUP, SIGINT));

}  // namespace
