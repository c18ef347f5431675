#include "ChildProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace cfgtest {

ChildResult RunChild(const ChildRun& run, std::chrono::seconds limit) {
    // Everything the child needs is made before the fork.
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq) vars[std::string(*e, static_cast<std::size_t>(eq - *e))] = eq + 1;
    }
    for (const auto& [name, value] : run.env) {
        if (value) vars[name] = *value;
        else vars.erase(name);
    }
    std::vector<std::string> envText;
    for (const auto& [name, value] : vars) envText.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& text : envText) envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = run.args;
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string folder = run.folder.string();

    ChildResult result;
    int out[2];
    if (::pipe(out) != 0) return result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        ::close(out[0]);
        ::close(out[1]);
        if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
        if (run.removeFolder && ::rmdir(folder.c_str()) != 0) ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return result;
}

}  // namespace cfgtest
