#pragma once
// Inside the platform layer only: a process-wide object that is never
// destroyed (threads of its own may still use it while the process exits)
// and that a forked child takes over by calling its AfterForkInChild (the
// child has none of the parent's other threads).

#include <pthread.h>

namespace platform::detail {

template <typename T>
T& ForkSafeInstance() {
    static T* instance = [] {
        auto* made = new T;
        ::pthread_atfork(nullptr, nullptr, [] { ForkSafeInstance<T>().AfterForkInChild(); });
        return made;
    }();
    return *instance;
}

}  // namespace platform::detail
