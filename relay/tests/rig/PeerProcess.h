#pragma once
// One program started by a test, in a process group of its own. The group
// is killed and every member reaped when the object goes, so no peer
// outlives its test even when the test fails or throws. Should the test
// program itself die, the kernel kills the program (PR_SET_PDEATHSIG); the
// peers the rig starts end their own children when that happens.
//
// The death signal follows the starting *thread*: start peers on the test's
// own thread, never on a helper thread that ends before the peer should.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kvtest {

class PeerProcess {
public:
    // Starts program (a path, or a name looked up in PATH and the sbin
    // folders) with args and a bare environment without proxy variables;
    // standard output and error go to logFile. Throws std::runtime_error
    // when the program cannot be found or started.
    PeerProcess(const std::string& program, const std::vector<std::string>& args,
                std::filesystem::path logFile);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // The program's pid, which is also its process group.
    pid_t pid() const { return pid_; }
    bool Running();
    // True once a process of the group listens on port (any local address);
    // false when the program ends first or the limit passes.
    bool WaitListening(std::uint16_t port, std::chrono::milliseconds limit);
    // The exit code when the program ends within the limit (128 + signal
    // when it was killed).
    std::optional<int> WaitExit(std::chrono::milliseconds limit);
    // Kills the whole group and reaps its members; bounded; idempotent.
    void Stop();
    // What the program wrote so far.
    std::string Log() const;

private:
    bool Reap(bool wait);

    pid_t pid_ = -1;
    bool reaped_ = false;
    bool stopped_ = false;
    int exitCode_ = -1;
    std::filesystem::path logFile_;
};

// True while any process, a zombie included, belongs to group pgid.
bool ProcessGroupExists(pid_t pgid);

// Absolute path of a program, or empty when it is not installed.
std::string FindProgram(const std::string& name);

}  // namespace kvtest
