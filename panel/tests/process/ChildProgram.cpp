#include "ChildProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "support/TempRoot.h"

extern char** environ;

namespace paneltest {

using namespace std::chrono_literals;

ChildProgram::ChildProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::optional<std::string>>& environment,
                           std::filesystem::path logFile)
    : logFile_(std::move(logFile)) {
    // Everything the child needs is made before fork.
    std::vector<std::string> argStrings{program.string()};
    argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argStrings) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (environment.count(text.substr(0, text.find('='))) == 0) envStrings.push_back(text);
    }
    for (const auto& [name, value] : environment) {
        if (value) envStrings.push_back(name + "=" + *value);
    }
    std::vector<char*> envp;
    for (std::string& entry : envStrings) envp.push_back(entry.data());
    envp.push_back(nullptr);

    const int log = ::open(logFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t parent = ::getpid();
    const pid_t pid = log >= 0 && devNull >= 0 ? ::fork() : -1;
    if (pid == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::dup2(devNull, 0);
        ::dup2(log, 1);
        ::dup2(log, 2);
        ::syscall(SYS_close_range, 3U, ~0U, 0U);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    if (log >= 0) ::close(log);
    if (devNull >= 0) ::close(devNull);
    if (pid < 0) {
        ADD_FAILURE() << "cannot start " << program;
        return;
    }
    ::setpgid(pid, pid);
    pid_ = pid;
}

ChildProgram::~ChildProgram() {
    if (pid_ <= 0) return;
    if (!Reap(false)) {
        ::kill(-pid_, SIGKILL);
        Reap(true);
    }
    // Whatever the program left in its group goes with it.
    ::kill(-pid_, SIGKILL);
}

bool ChildProgram::Reap(bool wait) {
    if (reaped_ || pid_ <= 0) return true;
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got != pid_) return false;
    reaped_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

bool ChildProgram::Running() { return !Reap(false); }

void ChildProgram::Signal(int signalNumber) const {
    if (pid_ > 0 && !reaped_) ::kill(pid_, signalNumber);
}

std::optional<int> ChildProgram::WaitExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!Reap(false)) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
    return exitCode_;
}

std::string ChildProgram::Log() const { return kvtest::ReadFile(logFile_); }

}  // namespace paneltest
