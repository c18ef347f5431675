#include "rig/PeerProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "rig/Loopback.h"

namespace kvtest {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kPollStep = 5ms;
constexpr auto kReapLimit = 5s;
constexpr const char* kEnvironmentPath = "/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin";

// Orphaned grandchildren (a peer's own children) come to us, so that Stop
// can reap them instead of leaving zombies behind.
void BecomeSubreaper() {
    static std::once_flag once;
    std::call_once(once, [] { ::prctl(PR_SET_CHILD_SUBREAPER, 1); });
}

std::vector<pid_t> AllPids() {
    std::vector<pid_t> pids;
    DIR* proc = ::opendir("/proc");
    if (!proc) {
        return pids;
    }
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid > 0 && end && *end == '\0') {
            pids.push_back(static_cast<pid_t>(pid));
        }
    }
    ::closedir(proc);
    return pids;
}

// A /proc file's text; empty when it cannot be read. Files of a process
// that ends meanwhile fail to read (ESRCH), which streams would throw on.
std::string ReadProcFile(const std::string& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return text;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

// The process group of pid from /proc/<pid>/stat; -1 when it is gone.
pid_t GroupOf(pid_t pid) {
    const std::string stat = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
    // The command name may hold blanks and parentheses; fields resume after the last ')'.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    long parent = 0;
    long group = -1;
    fields >> state >> parent >> group;
    return fields ? static_cast<pid_t>(group) : -1;
}

std::vector<pid_t> GroupMembers(pid_t pgid) {
    std::vector<pid_t> members;
    for (const pid_t pid : AllPids()) {
        if (GroupOf(pid) == pgid) {
            members.push_back(pid);
        }
    }
    return members;
}

// Inodes of sockets listening on port, from the kernel's TCP tables.
std::set<unsigned long> ListeningInodes(std::uint16_t port) {
    std::set<unsigned long> inodes;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::istringstream in(ReadProcFile(table));
        std::string line;
        std::getline(in, line);  // column titles
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout;
            unsigned long inode = 0;
            fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >>
                timeout >> inode;
            const std::size_t colon = local.rfind(':');
            if (!fields || colon == std::string::npos || state != "0A") {
                continue;
            }
            if (std::stoul(local.substr(colon + 1), nullptr, 16) == port) {
                inodes.insert(inode);
            }
        }
    }
    return inodes;
}

bool HoldsSocket(pid_t pid, const std::set<unsigned long>& inodes) {
    std::error_code ec;
    for (fs::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string target = fs::read_symlink(it->path(), ec).string();
        if (ec || target.rfind("socket:[", 0) != 0) {
            ec.clear();
            continue;
        }
        if (inodes.count(std::stoul(target.substr(8)))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    }
    std::string folders = kEnvironmentPath;
    if (const char* path = std::getenv("PATH")) {
        folders = std::string(path) + ":" + folders;
    }
    std::istringstream list(folders);
    std::string folder;
    while (std::getline(list, folder, ':')) {
        const std::string candidate = folder + "/" + name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

PeerProcess::PeerProcess(const std::string& program, const std::vector<std::string>& args,
                         fs::path logFile)
    : logFile_(std::move(logFile)) {
    const std::string path = FindProgram(program);
    if (path.empty()) {
        throw std::runtime_error("program not installed: " + program);
    }
    BecomeSubreaper();

    // Everything the child needs is made before fork: after it only
    // async-signal-safe calls are allowed.
    std::vector<std::string> argStrings{path};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> envStrings{std::string("PATH=") + kEnvironmentPath, "LC_ALL=C",
                                        "HOME=" + logFile_.parent_path().string()};
    std::vector<char*> envp;
    for (std::string& entry : envStrings) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    UniqueFd log(::open(logFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    UniqueFd devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!log || !devNull) {
        throw std::runtime_error("cannot open the log of " + program);
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("cannot fork for " + program);
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        ::dup2(devNull.get(), 0);
        ::dup2(log.get(), 1);
        ::dup2(log.get(), 2);
        ::syscall(SYS_close_range, 3U, ~0U, 0U);
        ::execve(path.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid);
    pid_ = pid;
}

PeerProcess::~PeerProcess() {
    Stop();
}

bool PeerProcess::Reap(bool wait) {
    if (reaped_) {
        return true;
    }
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got != pid_) {
        return false;
    }
    reaped_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

bool PeerProcess::Running() {
    return !Reap(false);
}

bool PeerProcess::WaitListening(std::uint16_t port, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Running()) {
        const std::set<unsigned long> inodes = ListeningInodes(port);
        if (!inodes.empty()) {
            for (const pid_t member : GroupMembers(pid_)) {
                if (HoldsSocket(member, inodes)) {
                    return true;
                }
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return false;
}

std::optional<int> PeerProcess::WaitExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return exitCode_;
}

void PeerProcess::Stop() {
    if (pid_ <= 0 || stopped_) {
        return;
    }
    stopped_ = true;
    if (!reaped_) {
        ::kill(-pid_, SIGKILL);
        Reap(true);
    }
    const auto deadline = std::chrono::steady_clock::now() + kReapLimit;
    while (ProcessGroupExists(pid_) && std::chrono::steady_clock::now() < deadline) {
        ::kill(-pid_, SIGKILL);
        while (::waitpid(-pid_, nullptr, WNOHANG) > 0) {
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

std::string PeerProcess::Log() const {
    std::ifstream in(logFile_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ProcessGroupExists(pid_t pgid) {
    return !GroupMembers(pgid).empty();
}

}  // namespace kvtest
