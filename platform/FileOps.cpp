#include "platform/FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <vector>

#include "platform/FileFind.h"
#include "platform/Root.h"

namespace platform {
namespace {

thread_local DWORD tLastError = 0;

constexpr DWORD kErrorAlreadyExists = 183;
constexpr DWORD kErrorDirNotEmpty = 145;

void SetErrorFromErrno() {
    switch (errno) {
        case ENOENT:
            tLastError = ERROR_FILE_NOT_FOUND;
            break;
        case ENOTDIR:
            tLastError = ERROR_PATH_NOT_FOUND;
            break;
        case EACCES:
        case EPERM:
        case EISDIR:
        case ELOOP:
            tLastError = ERROR_ACCESS_DENIED;
            break;
        case EEXIST:
            tLastError = kErrorAlreadyExists;
            break;
        case ENOTEMPTY:
            tLastError = kErrorDirNotEmpty;
            break;
        default:
            tLastError = ERROR_INVALID_PARAMETER;
            break;
    }
}

bool WriteZeros(int fd, std::uint64_t from, std::uint64_t to, std::size_t chunk) {
    const std::vector<char> zeros(std::max<std::size_t>(chunk, 1), 0);
    std::uint64_t offset = from;
    while (offset < to) {
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(zeros.size(), to - offset));
        std::size_t written = 0;
        while (written < piece) {
            const ssize_t n = ::pwrite(fd, zeros.data() + written, piece - written,
                                       static_cast<off_t>(offset + written));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            written += static_cast<std::size_t>(n);
        }
        offset += piece;
    }
    return true;
}

// Takes ownership of fd.
bool WipeDescriptor(int fd, std::uint64_t keep, std::size_t chunk) {
    if (fd < 0) {
        SetErrorFromErrno();
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        const auto size = static_cast<std::uint64_t>(st.st_size);
        if (size > keep) ok = WriteZeros(fd, keep, size, chunk);
        // The zeros must reach the disk before the name can be unlinked.
        ok = ok && ::fdatasync(fd) == 0;
    } else {
        tLastError = ERROR_ACCESS_DENIED;
    }
    ::close(fd);
    return ok;
}

constexpr int kWipeOpen = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
constexpr int kFolderOpen = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct Level {
    std::string name;  // the folder's name in its parent; empty at the top
    dev_t dev = 0;
    ino_t ino = 0;
    std::set<std::string> kept;  // entries that could not be deleted
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Deletes the entries of the open folder dir; returns the descriptor of a
// sub-folder to go down into (its level pushed), or -1 when this folder is
// done.
int SweepLevel(DIR* dir, std::vector<Level>& levels, const WipeChoice& wipe, std::uint64_t keep,
               std::size_t chunk) {
    const int fd = ::dirfd(dir);
    Level& level = levels.back();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || level.kept.count(name)) continue;
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            if ((st.st_mode & S_IRWXU) != S_IRWXU)
                ::fchmodat(fd, name.c_str(), (st.st_mode & 07777) | S_IRWXU, AT_SYMLINK_NOFOLLOW);
            const int child = ::openat(fd, name.c_str(), kFolderOpen);
            struct stat opened {};
            if (child >= 0 && ::fstat(child, &opened) == 0 && SameFile(st, opened)) {
                levels.push_back(Level{name, opened.st_dev, opened.st_ino, {}});
                return child;
            }
            if (child >= 0) ::close(child);
            level.kept.insert(name);
            continue;
        }
        if (S_ISREG(st.st_mode)) {
            if ((st.st_mode & S_IWUSR) == 0)
                ::fchmodat(fd, name.c_str(), (st.st_mode & 07777) | S_IWUSR, AT_SYMLINK_NOFOLLOW);
            if (wipe && wipe(name))
                WipeDescriptor(::openat(fd, name.c_str(), kWipeOpen), keep, chunk);
        }
        if (::unlinkat(fd, name.c_str(), 0) != 0) level.kept.insert(name);
    }
    return -1;
}

}  // namespace

bool ResolvesInsideRoot(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec).lexically_normal();
    if (ec || !IsInsideRoot(absolute)) return false;
    const fs::path root = fs::weakly_canonical(UserRoot(), ec);
    if (ec) return false;
    fs::path folder = absolute;
    while (folder.has_relative_path() && (folder.filename().empty() || folder.filename() == "."))
        folder = folder.parent_path();
    const fs::path resolved = fs::weakly_canonical(folder.parent_path(), ec) / folder.filename();
    if (ec) return false;
    const fs::path rel = resolved.lexically_relative(root);
    return !rel.empty() && *rel.begin() != "..";
}

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD error) { tLastError = error; }

bool CreateDirectory(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) return true;
    SetErrorFromErrno();
    return false;
}

bool RemoveDirectory(const std::filesystem::path& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        tLastError = ERROR_PATH_NOT_FOUND;
        return false;
    }
    if (::rmdir(folder.c_str()) == 0) return true;
    SetErrorFromErrno();
    return false;
}

bool DeleteFile(const std::filesystem::path& file) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) {
        SetErrorFromErrno();
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        tLastError = ERROR_ACCESS_DENIED;
        return false;
    }
    if (::unlink(file.c_str()) == 0) return true;
    SetErrorFromErrno();
    return false;
}

DWORD GetFileAttributes(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        SetErrorFromErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISLNK(st.st_mode))
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    else if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool SetFileAttributes(const std::filesystem::path& path, DWORD attributes) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        SetErrorFromErrno();
        return false;
    }
    if (S_ISLNK(st.st_mode)) return true;
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~mode_t{S_IWUSR | S_IWGRP | S_IWOTH})
                                                  : (mode | S_IWUSR);
    if (::fchmodat(AT_FDCWD, path.c_str(), mode, AT_SYMLINK_NOFOLLOW) == 0) return true;
    SetErrorFromErrno();
    return false;
}

std::string GetCurrentDirectory() {
    std::error_code ec;
    const auto current = std::filesystem::current_path(ec);
    return ec ? std::string() : current.string();
}

bool SetCurrentDirectory(const std::filesystem::path& folder) {
    if (::chdir(folder.c_str()) == 0) return true;
    SetErrorFromErrno();
    return false;
}

bool OverwriteFileTail(const std::filesystem::path& file, std::uint64_t keep, std::size_t chunk) {
    return WipeDescriptor(::open(file.c_str(), kWipeOpen), keep, chunk);
}

bool EmptyFolderTree(const std::filesystem::path& folder, const WipeChoice& wipe,
                     std::uint64_t keep, std::size_t chunk) {
    const int top = ::open(folder.c_str(), kFolderOpen);
    struct stat st {};
    if (top < 0 || ::fstat(top, &st) != 0) {
        SetErrorFromErrno();
        if (top >= 0) ::close(top);
        return false;
    }
    std::vector<Level> levels{Level{std::string(), st.st_dev, st.st_ino, {}}};
    DIR* dir = ::fdopendir(top);
    if (!dir) {
        ::close(top);
        return false;
    }
    // Only the folder being read is open; going up reopens its parent by
    // "..", checked against the parent met on the way down.
    while (dir) {
        const int child = SweepLevel(dir, levels, wipe, keep, chunk);
        if (child >= 0) {
            ::closedir(dir);
            dir = ::fdopendir(child);
            if (!dir) {
                ::close(child);
                return true;
            }
            continue;
        }
        if (levels.size() == 1) break;
        const int parent = ::openat(::dirfd(dir), "..", kFolderOpen);
        ::closedir(dir);
        dir = nullptr;
        const Level& up = levels[levels.size() - 2];
        struct stat pst {};
        if (parent < 0 || ::fstat(parent, &pst) != 0 || pst.st_dev != up.dev ||
            pst.st_ino != up.ino) {
            // The tree was moved while we walked it: stop rather than
            // delete somewhere else.
            if (parent >= 0) ::close(parent);
            return true;
        }
        const std::string name = levels.back().name;
        levels.pop_back();
        if (::unlinkat(parent, name.c_str(), AT_REMOVEDIR) != 0) levels.back().kept.insert(name);
        dir = ::fdopendir(parent);
        if (!dir) {
            ::close(parent);
            return true;
        }
    }
    if (dir) ::closedir(dir);
    return true;
}

bool RemoveTree(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return ::unlink(path.c_str()) == 0;
    EmptyFolderTree(path);
    if (::rmdir(path.c_str()) == 0) return true;
    SetErrorFromErrno();
    return false;
}

}  // namespace platform
