#pragma once
// Inside the platform layer only: the shared record of a Thread.

#include <pthread.h>

#include <atomic>
#include <mutex>

#include "platform/Event.h"
#include "platform/Thread.h"

namespace platform {

// What the running thread itself keeps: it outlives the handles when the
// thread is detached.
struct ThreadEnd {
    Event ended{true, false};
    std::atomic<DWORD> exitCode{STILL_ACTIVE};
    // Written by the thread itself when it starts.
    std::atomic<DWORD> id{0};
};

struct Thread::State {
    ~State();

    std::shared_ptr<ThreadEnd> end = std::make_shared<ThreadEnd>();
    Event& ended = end->ended;
    std::mutex joinMutex;
    // Started by StartWorker: the system thread belongs to the idle-worker
    // pool, and only the body's end is this thread's end.
    bool worker = false;
    pthread_t handle{};
    // Neither joined nor detached yet; written under joinMutex.
    bool joinable = false;
};

}  // namespace platform
