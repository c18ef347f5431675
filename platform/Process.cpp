#include "platform/Process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Root.h"
#include "platform/Time.h"
#include "platform/Wait.h"

extern char** environ;

namespace platform {
namespace fs = std::filesystem;

namespace {

constexpr DWORD kIdlePollMs = 10;

// A process that has ended but is not reaped yet (its parent may be an init
// that never reaps) still has a /proc entry; it is not running.
bool HasEnded(const fs::path& procEntry) {
    std::ifstream statFile(procEntry / "stat");
    std::string stat;
    std::getline(statFile, stat);
    // "pid (name) state ...": the name itself may hold parentheses.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size()) return true;
    const char state = stat[close + 2];
    return state == 'Z' || state == 'X';
}

bool IsExecutableFile(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

// The state letter of /proc/<id>/stat; 0 when the process is gone.
char ProcessState(DWORD id) {
    std::ifstream in("/proc/" + std::to_string(id) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return 0;
    // The program name in parentheses may hold spaces and parentheses.
    const auto close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size()) return 0;
    return line[close + 2];
}

bool Ended(char state) { return state == 0 || state == 'Z' || state == 'X' || state == 'x'; }

bool ReadAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, bytes + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

void CloseBoth(int fds[2]) {
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace

bool Process::IsRunning() const { return IsValid() && !Ended(ProcessState(id_)); }

fs::path FindProgram(std::string_view program, const fs::path& starterFolder) {
    if (program.empty()) return {};
    const fs::path folder = starterFolder.empty() ? ProgramImageFolder() : starterFolder;
    if (program.find('/') != std::string_view::npos) {
        fs::path file(program);
        if (file.is_relative()) file = folder / file;
        return IsExecutableFile(file) ? file : fs::path{};
    }
    if (IsExecutableFile(folder / program)) return folder / program;
    const char* path = std::getenv("PATH");
    std::stringstream entries(path ? path : "");
    std::string entry;
    while (std::getline(entries, entry, ':')) {
        // Empty and relative entries would name the current folder.
        const fs::path dir(entry);
        if (entry.empty() || dir.is_relative()) continue;
        if (IsExecutableFile(dir / program)) return dir / program;
    }
    return {};
}

Process StartProcess(std::string_view program, const std::vector<std::string>& arguments,
                     const fs::path& starterFolder) {
    const fs::path file = FindProgram(program, starterFolder);
    if (file.empty()) return {};
    // Everything the children use is made before fork: after it they may
    // only make async-signal-safe calls.
    const std::string image = file.string();
    std::vector<std::string> words{image};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    int idPipe[2];
    int errorPipe[2];
    if (::pipe2(idPipe, O_CLOEXEC) != 0) return {};
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        CloseBoth(idPipe);
        return {};
    }
    // Two forks: the program is left to init, so no zombie waits for us.
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::setsid();
        const pid_t program_id = ::fork();
        if (program_id == 0) {
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
            ::execve(image.c_str(), argv.data(), environ);
            const int error = errno;
            [[maybe_unused]] const ssize_t n = ::write(errorPipe[1], &error, sizeof error);
            ::_exit(127);
        }
        [[maybe_unused]] const ssize_t n = ::write(idPipe[1], &program_id, sizeof program_id);
        ::_exit(program_id < 0 ? 1 : 0);
    }
    ::close(idPipe[1]);
    ::close(errorPipe[1]);
    pid_t id = -1;
    bool started = false;
    if (middle > 0) {
        int status = 0;
        while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
        }
        int error = 0;
        // The error pipe closes without a byte when the program runs.
        started = ReadAll(idPipe[0], &id, sizeof id) && id > 0 && !ReadAll(errorPipe[0], &error, sizeof error);
    }
    ::close(idPipe[0]);
    ::close(errorPipe[0]);
    return started ? Process(static_cast<DWORD>(id)) : Process();
}

DWORD WaitForInputIdle(const Process& process, DWORD ms) {
    if (!process.IsValid()) return WAIT_FAILED;
    const DWORD start = GetTickCount();
    for (;;) {
        const char state = ProcessState(process.id());
        if (Ended(state)) return WAIT_FAILED;
        if (state == 'S') return WAIT_OBJECT_0;
        if (GetTickCount() - start >= ms) return WAIT_TIMEOUT;
        Sleep(kIdlePollMs);
    }
}

std::vector<ProcessEntry> ProcessSnapshot() {
    std::vector<ProcessEntry> entries;
    std::error_code ec;
    for (const auto& dir : fs::directory_iterator("/proc", ec)) {
        const std::string name = dir.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (HasEnded(dir.path())) continue;
        ProcessEntry entry;
        entry.id = static_cast<DWORD>(std::strtoul(name.c_str(), nullptr, 10));
        std::error_code linkError;
        const fs::path exe = fs::read_symlink(dir.path() / "exe", linkError);
        if (!linkError) {
            entry.exeFile = exe.filename().string();
            // A program file replaced while it runs.
            constexpr std::string_view kDeleted = " (deleted)";
            if (entry.exeFile.ends_with(kDeleted)) entry.exeFile.resize(entry.exeFile.size() - kDeleted.size());
        } else {
            std::ifstream comm(dir.path() / "comm");
            std::getline(comm, entry.exeFile);
        }
        if (!entry.exeFile.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace platform
