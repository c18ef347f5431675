#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <system_error>

#include "platform/CrashPoint.h"
#include "platform/Root.h"
#include "platform/UniqueFd.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

std::atomic<bool> g_failTemporaryFiles{false};
std::mutex g_deniedMutex;
fs::path g_denied;   // guarded by g_deniedMutex

bool ReadingDenied(const fs::path& file) {
    const std::lock_guard lock(g_deniedMutex);
    if (g_denied.empty()) return false;
    std::error_code ec;
    return fs::equivalent(file, g_denied, ec);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a replacement really goes to: a symbolic link is followed so
// that the link stays and its target is replaced.
std::optional<fs::path> ReplacementTarget(const fs::path& file) {
    std::error_code ec;
    fs::path target = fs::absolute(file, ec).lexically_normal();
    if (ec) return std::nullopt;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::weakly_canonical(target, ec);
        if (ec) return std::nullopt;
    }
    if (!IsInsideRoot(target)) return std::nullopt;
    return target;
}

// Writes bytes to a temporary file beside target and renames it over
// target. mode is the new file's permission bits.
bool ReplaceWith(const fs::path& target, std::string_view bytes, mode_t mode) {
    std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".kvtmp-XXXXXX")).string();
    UniqueFd fd(MakeTemporaryFile(temp));
    if (!fd) return false;
    const bool written = WriteAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 &&
                         ::fsync(fd.get()) == 0;
    if (!fd.Close() || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(target.parent_path());
    AfterDurableWrite();
    return true;
}

// Replaces the file inside the root; mode, when given, becomes its
// permission bits, else an existing file keeps its own (a new one gets
// 0644).
bool ReplaceInsideRoot(const fs::path& file, std::string_view bytes, std::optional<mode_t> mode) {
    const auto target = ReplacementTarget(file);
    if (!target) return false;
    struct stat old {};
    if (::stat(target->c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        if (!mode) mode = old.st_mode & 07777;
    }
    return ReplaceWith(*target, bytes, mode.value_or(0644));
}

}  // namespace

FileContents ReadFileIfPresent(const fs::path& file) {
    FileContents contents;
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        contents.state = errno == ENOENT ? FileContents::State::Absent : FileContents::State::Unreadable;
        return contents;
    }
    contents.state = FileContents::State::Unreadable;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || ReadingDenied(file)) return contents;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            contents.bytes.clear();
            return contents;
        }
        if (n == 0) break;
        contents.bytes.append(buf, static_cast<std::size_t>(n));
    }
    contents.state = FileContents::State::Read;
    return contents;
}

std::optional<std::string> ReadWholeFile(const fs::path& file) {
    FileContents contents = ReadFileIfPresent(file);
    if (contents.state != FileContents::State::Read) return std::nullopt;
    return std::move(contents.bytes);
}

bool WriteFileAtomic(const fs::path& file, std::string_view bytes) {
    return ReplaceInsideRoot(file, bytes, std::nullopt);
}

bool WriteFileNoFollow(const fs::path& file, std::string_view bytes) {
    std::error_code ec;
    const fs::path target = fs::absolute(file, ec).lexically_normal();
    if (ec || !target.has_filename()) return false;
    // Private unless the file already there says otherwise.
    mode_t mode = 0600;
    struct stat old {};
    if (::lstat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }
    return ReplaceWith(target, bytes, mode);
}

bool CopyFileAtomic(const fs::path& source, const fs::path& target) {
    struct stat st {};
    const auto bytes = ReadWholeFile(source);
    if (!bytes || ::stat(source.c_str(), &st) != 0) return false;
    return ReplaceInsideRoot(target, *bytes, st.st_mode & 07777);
}

bool CopyFileNoFollow(const fs::path& source, const fs::path& target) {
    const auto bytes = ReadWholeFile(source);
    return bytes && WriteFileNoFollow(target, *bytes);
}

bool RemoveFileDurably(const fs::path& file) {
    std::error_code ec;
    const fs::path path = fs::absolute(file, ec).lexically_normal();
    if (ec || !IsInsideRoot(path)) return false;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (S_ISDIR(st.st_mode) || ::unlink(path.c_str()) != 0) return false;
    SyncFolder(path.parent_path());
    AfterDurableWrite();
    return true;
}

int MakeTemporaryFile(std::string& pattern) {
    if (g_failTemporaryFiles.load()) {
        errno = ENOSPC;
        return -1;
    }
    return ::mkostemp(pattern.data(), O_CLOEXEC);
}

void SyncFolder(const fs::path& folder) {
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

namespace safefile_test {
void FailTemporaryFiles(bool fail) { g_failTemporaryFiles.store(fail); }

void DenyReading(const fs::path& file) {
    const std::lock_guard lock(g_deniedMutex);
    g_denied = file;
}
}  // namespace safefile_test

}  // namespace platform
