#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/Root.h"
#include "platform/UniqueFd.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

std::atomic<bool> g_failTemporaryFiles{false};

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
    if (g_failTemporaryFiles.load()) return false;
    std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".kvtmp-XXXXXX")).string();
    UniqueFd fd(::mkstemp(temp.data()));
    if (!fd) return false;
    const bool written = WriteAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 &&
                         ::fsync(fd.get()) == 0;
    if (!fd.Close() || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& file) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    return bytes;
}

bool WriteFileAtomic(const fs::path& file, std::string_view bytes) {
    const auto target = ReplacementTarget(file);
    if (!target) return false;
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(target->c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    }
    return ReplaceWith(*target, bytes, mode);
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
    const auto bytes = ReadWholeFile(source);
    return bytes && WriteFileAtomic(target, *bytes);
}

bool CopyFileNoFollow(const fs::path& source, const fs::path& target) {
    const auto bytes = ReadWholeFile(source);
    return bytes && WriteFileNoFollow(target, *bytes);
}

namespace safefile_test {
void FailTemporaryFiles(bool fail) { g_failTemporaryFiles.store(fail); }
}  // namespace safefile_test

}  // namespace platform
