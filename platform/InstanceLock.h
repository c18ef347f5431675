#pragma once
// A per-user single-instance lock: an exclusive flock on a lock file in the
// program folder of the per-user root, held while the object lives. The
// lock goes with the process, so one that dies never leaves it taken.

#include <string_view>

namespace platform {

class InstanceLock {
public:
    // Tries once, without waiting. name is a plain file name ("KVSweep");
    // anything with a separator or ".." is refused and never held.
    explicit InstanceLock(std::string_view name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another holder (any process of the user) has it.
    bool IsHeld() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace platform
