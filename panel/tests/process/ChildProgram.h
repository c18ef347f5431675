#pragma once
// A program a test starts and ends itself: it inherits the test's
// environment (its root, display and bus) with a few variables changed,
// runs in a process group of its own, writes its output to a log file, and
// is killed with its group when the object goes.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace paneltest {

class ChildProgram {
public:
    // environment: variables set (a value) or removed (no value) for the
    // child only. Fails the test (and runs nothing) when it cannot start.
    ChildProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::optional<std::string>>& environment,
                 std::filesystem::path logFile);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    pid_t pid() const { return pid_; }
    bool Running();
    void Signal(int signalNumber) const;
    // The exit code when the program ends within the limit (128 + signal
    // when a signal ended it).
    std::optional<int> WaitExit(std::chrono::milliseconds limit);
    // What the program wrote so far.
    std::string Log() const;

private:
    bool Reap(bool wait);

    pid_t pid_ = -1;
    bool reaped_ = false;
    int exitCode_ = -1;
    std::filesystem::path logFile_;
};

}  // namespace paneltest
