#include "platform/Wait.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/Thread.h"
#include "platform/Time.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class WaitTest : public kvtest::RootedTest {};

TEST_F(WaitTest, WakesWithin50MsOfEventBeingSet) {
    const Event stop(true, false);
    const Event other(false, false);
    std::atomic<Clock::rep> setAt{0};
    Thread setter = Thread::Start([&] {
        Sleep(30);
        setAt = Clock::now().time_since_epoch().count();
        stop.Set();
        return 0u;
    });
    const DWORD result = WaitForMultipleObjects({other, stop}, false, 5000);
    const auto woke = Clock::now();
    setter.Join();
    EXPECT_EQ(result, WAIT_OBJECT_0 + 1);
    const auto late = woke - Clock::time_point(Clock::duration(setAt.load()));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(late).count(), 50);
}

TEST_F(WaitTest, TimesOutAfterTheLimitAndNotBefore) {
    const Event never(true, false);
    EXPECT_EQ(WaitForSingleObject(never, 0), WAIT_TIMEOUT);
    const auto start = Clock::now();
    EXPECT_EQ(WaitForSingleObject(never, 100), WAIT_TIMEOUT);
    const long took = MsSince(start);
    EXPECT_GE(took, 100);
    EXPECT_LT(took, 2000);
}

TEST_F(WaitTest, AutoResetEventReleasesOneWaiterPerSet) {
    const Event gate(false, false);
    std::atomic<int> through{0};
    auto waiter = [&] {
        if (WaitForSingleObject(gate, 3000) == WAIT_OBJECT_0) ++through;
        return 0u;
    };
    Thread a = Thread::Start(waiter);
    Thread b = Thread::Start(waiter);
    Sleep(50);
    gate.Set();
    const auto start = Clock::now();
    while (through.load() == 0 && MsSince(start) < 3000) Sleep(5);
    Sleep(100);
    EXPECT_EQ(through.load(), 1);
    EXPECT_FALSE(gate.IsSignalled());
    gate.Set();
    a.Join();
    b.Join();
    EXPECT_EQ(through.load(), 2);
}

TEST_F(WaitTest, ManualResetEventStaysSignalledUntilReset) {
    const Event e(true, true);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    const Event copy = e;  // copies share one event
    copy.Reset();
    EXPECT_EQ(WaitForSingleObject(e, 10), WAIT_TIMEOUT);
}

TEST_F(WaitTest, ReportsFirstSignalledHandle) {
    const Event a(true, false), b(true, true), c(true, true);
    EXPECT_EQ(WaitForMultipleObjects({a, b, c}, false, 0), WAIT_OBJECT_0 + 1);
}

int OpenDescriptors() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator{}));
}

// A socket ready before the wait begins answers at once, in the handles'
// order, and no descriptor is made for an event that is not signalled.
TEST_F(WaitTest, HandlesReadyAtOnceAnswerInOrderWithoutEventDescriptors) {
    struct Case {
        const char* name;
        bool eventSet;
        bool socketReady;
        DWORD expected;
    };
    for (const Case& c : {Case{"event and socket", true, true, WAIT_OBJECT_0},
                          Case{"socket only", false, true, WAIT_OBJECT_0 + 1},
                          Case{"event only", true, false, WAIT_OBJECT_0},
                          Case{"neither", false, false, WAIT_TIMEOUT}}) {
        SCOPED_TRACE(c.name);
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        if (c.socketReady) {
            ASSERT_EQ(::write(ends[1], "x", 1), 1);
        }
        const Event event(false, c.eventSet);
        const int before = OpenDescriptors();
        EXPECT_EQ(WaitForMultipleObjects({event, WaitHandle::SocketReadable(ends[0])}, false, 0), c.expected);
        if (c.expected != WAIT_TIMEOUT) {
            EXPECT_EQ(OpenDescriptors(), before);
        }
        EXPECT_FALSE(event.IsSignalled()) << "an auto-reset event is taken by the wait that it ends";
        ::close(ends[0]);
        ::close(ends[1]);
    }
}

TEST_F(WaitTest, WaitAllNeedsEveryHandleAndTakesAutoResetSignals) {
    const Event manual(true, true);
    const Event automatic(false, false);
    EXPECT_EQ(WaitForMultipleObjects({manual, automatic}, true, 20), WAIT_TIMEOUT);
    automatic.Set();
    EXPECT_EQ(WaitForMultipleObjects({manual, automatic}, true, 1000), WAIT_OBJECT_0);
    EXPECT_TRUE(manual.IsSignalled());
    EXPECT_FALSE(automatic.IsSignalled());
}

TEST_F(WaitTest, FailsForNoHandlesOrEmptyEvent) {
    EXPECT_EQ(WaitForMultipleObjects(std::span<const WaitHandle>(), false, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(Event(), 0), WAIT_FAILED);
    EXPECT_FALSE(Event().Set());
}

TEST_F(WaitTest, ThreadHandleSignalsItsEndWithExitCode) {
    const Event release(true, false);
    Thread t = Thread::Start([&] {
        WaitForSingleObject(release, 5000);
        return 7u;
    });
    EXPECT_NE(t.id(), 0u);
    EXPECT_NE(t.id(), GetCurrentThreadId());
    EXPECT_TRUE(t.IsRunning());
    EXPECT_EQ(t.ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(WaitForMultipleObjects({t}, false, 20), WAIT_TIMEOUT);
    release.Set();
    EXPECT_EQ(WaitForMultipleObjects({release, t}, true, 5000), WAIT_OBJECT_0);
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(t.ExitCode(), 7u);
}

// A worker is posted nothing: it has no queue, and its id is known once it
// runs.
TEST_F(WaitTest, WorkerThreadHasNoQueueAndSignalsItsEndWithExitCode) {
    const Event running(true, false);
    const Event release(true, false);
    Thread t = Thread::StartWorker([&] {
        running.Set();
        WaitForSingleObject(release, 5000);
        return 9u;
    });
    ASSERT_TRUE(t.IsValid());
    ASSERT_EQ(WaitForSingleObject(running, 5000), WAIT_OBJECT_0);
    EXPECT_NE(t.id(), 0u);
    EXPECT_NE(t.id(), GetCurrentThreadId());
    EXPECT_FALSE(t.IsCurrent());
    EXPECT_FALSE(PostThreadMessage(t.id(), WM_USER, 0, 0));
    EXPECT_TRUE(t.IsRunning());
    release.Set();
    EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(t.ExitCode(), 9u);
}

// A finished worker's system thread carries the next worker: each worker's
// end, exit code and "current" must still be its own.
TEST_F(WaitTest, WorkersOneAfterAnotherKeepTheirOwnEndCodeAndCurrentness) {
    constexpr int kWorkers = 6;
    std::vector<Thread> workers(kWorkers);
    for (int i = 0; i < kWorkers; ++i) {
        const Event handleKept(true, false);
        std::atomic<bool> sawItselfCurrent{false};
        std::atomic<bool> sawEarlierCurrent{false};
        workers[i] = Thread::StartWorker([&, i, handleKept] {
            WaitForSingleObject(handleKept, 5000);
            sawItselfCurrent = workers[i].IsCurrent();
            for (int j = 0; j < i; ++j) sawEarlierCurrent = sawEarlierCurrent || workers[j].IsCurrent();
            return static_cast<DWORD>(100 + i);
        });
        ASSERT_TRUE(workers[i].IsValid());
        handleKept.Set();
        ASSERT_TRUE(workers[i].Wait(5000));
        EXPECT_TRUE(sawItselfCurrent) << i;
        EXPECT_FALSE(sawEarlierCurrent) << i;
    }
    for (int i = 0; i < kWorkers; ++i) {
        EXPECT_FALSE(workers[i].IsRunning());
        EXPECT_EQ(workers[i].ExitCode(), static_cast<DWORD>(100 + i));
        workers[i].Join();
    }
}

// More workers at once than finished ones are kept waiting, twice over:
// every one runs, none waits for another's end.
TEST_F(WaitTest, BurstsOfWorkersAllRunAtOnce) {
    constexpr int kWorkers = 150;
    for (int wave = 0; wave < 2; ++wave) {
        const Event release(true, false);
        std::atomic<int> running{0};
        std::vector<Thread> workers;
        for (int i = 0; i < kWorkers; ++i) {
            workers.push_back(Thread::StartWorker([&running, release, i] {
                ++running;
                WaitForSingleObject(release, 5000);
                return static_cast<DWORD>(i);
            }));
            ASSERT_TRUE(workers.back().IsValid());
        }
        const auto start = Clock::now();
        while (running.load() < kWorkers && MsSince(start) < 5000) Sleep(5);
        EXPECT_EQ(running.load(), kWorkers) << "wave " << wave;
        release.Set();
        for (int i = 0; i < kWorkers; ++i) {
            ASSERT_TRUE(workers[i].Wait(5000));
            EXPECT_EQ(workers[i].ExitCode(), static_cast<DWORD>(i));
        }
    }
}

// The time slice the calling thread runs with, as the system reports it;
// 0 where it reports none.
std::uint64_t OwnSliceNs() {
    std::ifstream sched("/proc/thread-self/sched");
    for (std::string line; std::getline(sched, line);) {
        if (line.rfind("se.slice", 0) == 0) return std::stoull(line.substr(line.find(':') + 1));
    }
    return 0;
}

// Whether this kernel keeps a slice that a thread asks for.
bool KernelKeepsAskedSlices(std::uint64_t ns) {
    struct {
        std::uint32_t size, policy;
        std::uint64_t flags;
        std::int32_t nice;
        std::uint32_t priority;
        std::uint64_t runtime, deadline, period;
    } record{};
    std::uint64_t seen = 0;
    std::thread([&] {
        record.size = sizeof record;
        record.runtime = ns;
        if (::syscall(SYS_sched_setattr, 0, &record, 0) == 0) seen = OwnSliceNs();
    }).join();
    return seen == ns;
}

// A worker's socket calls come in short bursts: with the default slice, a
// server on this host that its connect wakes takes the processor from it
// halfway through. New workers and reused ones both run with short slices
// and keep the program's nice value.
TEST_F(WaitTest, WorkersRunWithShortSlicesAndTheProgramsNiceValue) {
    constexpr std::uint64_t kShortSliceNs = 100 * 1000;
    if (!KernelKeepsAskedSlices(kShortSliceNs)) GTEST_SKIP() << "this kernel keeps no slice a thread asks for";
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    constexpr int kWorkers = 4;
    for (int wave = 0; wave < 2; ++wave) {
        const Event release(true, false);
        std::atomic<std::uint64_t> slices[kWorkers]{};
        std::atomic<int> nices[kWorkers]{};
        std::vector<Thread> workers;
        for (int i = 0; i < kWorkers; ++i) {
            workers.push_back(Thread::StartWorker([&, i, release] {
                slices[i] = OwnSliceNs();
                nices[i] = ::getpriority(PRIO_PROCESS, 0);
                WaitForSingleObject(release, 5000);
                return 0u;
            }));
        }
        release.Set();
        for (int i = 0; i < kWorkers; ++i) {
            ASSERT_TRUE(workers[i].Wait(5000));
            EXPECT_EQ(slices[i].load(), kShortSliceNs) << "wave " << wave << " worker " << i;
            EXPECT_EQ(nices[i].load(), nice) << "wave " << wave << " worker " << i;
        }
    }
}

// Only a thread with the ordinary policy changes, and it keeps its nice value.
TEST_F(WaitTest, AThreadKeptFromPreemptingOnWakeRunsAsBatchWithItsNiceValue) {
    struct Case {
        const char* name;
        int policy;
        int expected;
    };
    for (const Case c : {Case{"ordinary", SCHED_OTHER, SCHED_BATCH}, Case{"idle", SCHED_IDLE, SCHED_IDLE}}) {
        SCOPED_TRACE(c.name);
        std::atomic<int> policy{-1};
        std::atomic<int> nice{0};
        std::atomic<int> niceBefore{0};
        Thread t = Thread::Start([&] {
            const sched_param none{};
            ::sched_setscheduler(0, c.policy, &none);
            ::setpriority(PRIO_PROCESS, 0, ::getpriority(PRIO_PROCESS, 0) + 1);
            niceBefore = ::getpriority(PRIO_PROCESS, 0);
            KeepFromPreemptingOnWake();
            policy = ::sched_getscheduler(0);
            nice = ::getpriority(PRIO_PROCESS, 0);
            return 0u;
        });
        ASSERT_TRUE(t.Wait(5000));
        EXPECT_EQ(policy.load(), c.expected);
        EXPECT_EQ(nice.load(), niceBefore.load());
    }
}

TEST_F(WaitTest, DroppedThreadHandleLetsThreadFinish) {
    const Event done(true, false);
    Thread::Start([done] {
        Sleep(20);
        done.Set();
        return 0u;
    });
    EXPECT_EQ(WaitForSingleObject(done, 5000), WAIT_OBJECT_0);
}

TEST_F(WaitTest, CriticalSectionIsRecursiveAndExcludesOtherThreads) {
    CriticalSection cs;
    int counter = 0;
    auto work = [&] {
        for (int i = 0; i < 1000; ++i) {
            std::lock_guard outer(cs);
            std::lock_guard inner(cs);
            ++counter;
        }
        return 0u;
    };
    Thread a = Thread::Start(work);
    Thread b = Thread::Start(work);
    a.Join();
    b.Join();
    EXPECT_EQ(counter, 2000);
}

TEST_F(WaitTest, TickCountFollowsSleep) {
    const DWORD before = GetTickCount();
    Sleep(50);
    const DWORD after = GetTickCount();
    EXPECT_GE(after - before, 50u);
    EXPECT_LT(after - before, 2000u);
}

// Kept outside the suites run under the thread checker, which does not
// follow a fork of a threaded process.
TEST(ThreadForkTest, AForkedChildStartsWorkersOfItsOwn) {
    kvtest::TempRoot root;
    // Leave finished workers waiting in this process: the child has none of them.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Thread::StartWorker([] { return 0u; }).Wait(5000));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const Event ran(true, false);
        const Thread worker = Thread::StartWorker([ran] {
            ran.Set();
            return 0u;
        });
        ::_exit(worker.IsValid() && WaitForSingleObject(ran, 3000) == WAIT_OBJECT_0 ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
