#include "platform/FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "platform/FileFind.h"
#include "platform/Root.h"
#include "platform/UniqueFd.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

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

// A file with a second name may have it anywhere, outside the root too:
// overwriting or changing it would reach that name as well.
bool HasOtherNames(const struct stat& st) { return S_ISREG(st.st_mode) && st.st_nlink > 1; }

// Takes ownership of fd.
bool WipeDescriptor(UniqueFd fd, std::uint64_t keep, std::size_t chunk) {
    if (!fd) {
        SetErrorFromErrno();
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || HasOtherNames(st)) {
        tLastError = ERROR_ACCESS_DENIED;
        return false;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    bool ok = size <= keep || WriteZeros(fd.get(), keep, size, chunk);
    // The zeros must reach the disk before the name can be unlinked.
    ok = ok && ::fdatasync(fd.get()) == 0;
    return fd.Close() && ok;
}

constexpr int kWipeOpen = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
constexpr int kFolderOpen = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Absolute, without "." and ".." and without a trailing separator, so that
// "<root>/" and "<root>/profile/.." both name the root.
fs::path Normal(const fs::path& path) {
    std::error_code ec;
    fs::path normal = fs::absolute(path, ec);
    if (ec) return {};
    normal = normal.lexically_normal();
    if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
    return normal;
}

fs::path RootFolder() { return Normal(UserRoot()); }

// The components of path below the root; nothing for the root itself and
// for a path outside it.
std::optional<std::vector<std::string>> PartsBelowRoot(const fs::path& normal) {
    if (normal.empty()) return std::nullopt;
    const fs::path rel = normal.lexically_relative(RootFolder());
    if (rel.empty() || rel == "." || *rel.begin() == "..") return std::nullopt;
    std::vector<std::string> parts;
    for (const fs::path& part : rel) parts.push_back(part.string());
    return parts;
}

bool IsProtectedBelowRoot(const std::vector<std::string>& parts) {
    return parts.front() == "registry" || parts.front() == "program";
}

// A target reached from the root without links: its folder, held open, and
// its name there.
struct Located {
    UniqueFd folder;
    std::string name;
};

enum class Reach { Any, Unprotected };

std::optional<Located> Locate(const fs::path& path, Reach reach) {
    const auto parts = PartsBelowRoot(Normal(path));
    if (!parts || (reach == Reach::Unprotected && IsProtectedBelowRoot(*parts))) {
        tLastError = ERROR_ACCESS_DENIED;
        return std::nullopt;
    }
    UniqueFd folder(::open(RootFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; folder && i + 1 < parts->size(); ++i)
        folder = UniqueFd(::openat(folder.get(), (*parts)[i].c_str(), kFolderOpen));
    if (!folder) {
        SetErrorFromErrno();
        return std::nullopt;
    }
    return Located{std::move(folder), parts->back()};
}

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
        if (S_ISREG(st.st_mode) && !HasOtherNames(st)) {
            if ((st.st_mode & S_IWUSR) == 0)
                ::fchmodat(fd, name.c_str(), (st.st_mode & 07777) | S_IWUSR, AT_SYMLINK_NOFOLLOW);
            if (wipe && wipe(name))
                WipeDescriptor(UniqueFd(::openat(fd, name.c_str(), kWipeOpen)), keep, chunk);
        }
        if (::unlinkat(fd, name.c_str(), 0) != 0) level.kept.insert(name);
    }
    return -1;
}

// The walk of EmptyFolderTree over an open folder, which it takes over.
bool EmptyOpenFolder(UniqueFd top, const WipeChoice& wipe, std::uint64_t keep, std::size_t chunk) {
    struct stat st {};
    if (!top || ::fstat(top.get(), &st) != 0) {
        SetErrorFromErrno();
        return false;
    }
    std::vector<Level> levels{Level{std::string(), st.st_dev, st.st_ino, {}}};
    DIR* dir = ::fdopendir(top.get());
    if (!dir) return false;
    top.release();
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

}  // namespace

bool ResolvesInsideRoot(const fs::path& path) {
    const fs::path normal = Normal(path);
    if (!normal.empty() && normal == RootFolder()) return true;
    const auto parts = PartsBelowRoot(normal);
    if (!parts) return false;
    UniqueFd folder(::open(RootFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; folder && i + 1 < parts->size(); ++i) {
        UniqueFd next(::openat(folder.get(), (*parts)[i].c_str(), kFolderOpen));
        if (!next) return errno == ENOENT;
        folder = std::move(next);
    }
    return static_cast<bool>(folder);
}

bool IsProtectedPath(const fs::path& path) {
    const fs::path normal = Normal(path);
    if (normal.empty()) return false;
    const fs::path root = RootFolder();
    const fs::path above = root.lexically_relative(normal);
    if (!above.empty() && *above.begin() != "..") return true;  // the root or a folder holding it
    const auto parts = PartsBelowRoot(normal);
    return parts && IsProtectedBelowRoot(*parts);
}

bool MakeFoldersBelowRoot(const fs::path& folder) {
    const fs::path normal = Normal(folder);
    std::error_code ec;
    if (!normal.empty() && normal == RootFolder()) {
        // The root itself is the user's choice, links and all.
        fs::create_directories(normal, ec);
        return fs::is_directory(normal, ec);
    }
    const auto parts = PartsBelowRoot(normal);
    if (!parts) {
        tLastError = ERROR_ACCESS_DENIED;
        return false;
    }
    // Asked on every registry call: when every folder is there already,
    // looking at each is enough.
    fs::path existing = RootFolder();
    bool allThere = true;
    for (const std::string& part : *parts) {
        struct stat st {};
        existing /= part;
        if (::lstat(existing.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            allThere = false;
            break;
        }
    }
    if (allThere) return true;
    fs::create_directories(RootFolder(), ec);
    UniqueFd current(::open(RootFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; current && i < parts->size(); ++i) {
        const char* name = (*parts)[i].c_str();
        ::mkdirat(current.get(), name, 0777);
        current = UniqueFd(::openat(current.get(), name, kFolderOpen));
    }
    if (!current) SetErrorFromErrno();
    return static_cast<bool>(current);
}

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD error) { tLastError = error; }

bool CreateDirectory(const fs::path& folder) {
    const auto at = Locate(folder, Reach::Any);
    if (!at) return false;
    if (::mkdirat(at->folder.get(), at->name.c_str(), 0777) == 0) return true;
    SetErrorFromErrno();
    return false;
}

bool RemoveDirectory(const fs::path& folder) {
    const auto at = Locate(folder, Reach::Unprotected);
    if (!at) return false;
    struct stat st {};
    if (::fstatat(at->folder.get(), at->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        SetErrorFromErrno();
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        tLastError = ERROR_PATH_NOT_FOUND;
        return false;
    }
    if (::unlinkat(at->folder.get(), at->name.c_str(), AT_REMOVEDIR) == 0) return true;
    SetErrorFromErrno();
    return false;
}

bool DeleteFile(const fs::path& file) {
    const auto at = Locate(file, Reach::Unprotected);
    if (!at) return false;
    struct stat st {};
    if (::fstatat(at->folder.get(), at->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        SetErrorFromErrno();
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        tLastError = ERROR_ACCESS_DENIED;
        return false;
    }
    if (::unlinkat(at->folder.get(), at->name.c_str(), 0) == 0) return true;
    SetErrorFromErrno();
    return false;
}

DWORD GetFileAttributes(const fs::path& path) {
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

bool SetFileAttributes(const fs::path& path, DWORD attributes) {
    const auto at = Locate(path, Reach::Any);
    if (!at) return false;
    struct stat st {};
    if (::fstatat(at->folder.get(), at->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        SetErrorFromErrno();
        return false;
    }
    if (S_ISLNK(st.st_mode)) return true;
    if (HasOtherNames(st)) {
        tLastError = ERROR_ACCESS_DENIED;
        return false;
    }
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~mode_t{S_IWUSR | S_IWGRP | S_IWOTH})
                                                  : (mode | S_IWUSR);
    if (::fchmodat(at->folder.get(), at->name.c_str(), mode, AT_SYMLINK_NOFOLLOW) == 0) return true;
    SetErrorFromErrno();
    return false;
}

std::string GetCurrentDirectory() {
    std::error_code ec;
    const auto current = fs::current_path(ec);
    return ec ? std::string() : current.string();
}

bool SetCurrentDirectory(const fs::path& folder) {
    if (::chdir(folder.c_str()) == 0) return true;
    SetErrorFromErrno();
    return false;
}

bool OverwriteFileTail(const fs::path& file, std::uint64_t keep, std::size_t chunk) {
    const auto at = Locate(file, Reach::Unprotected);
    if (!at) return false;
    return WipeDescriptor(UniqueFd(::openat(at->folder.get(), at->name.c_str(), kWipeOpen)), keep,
                          chunk);
}

bool EmptyFolderTree(const fs::path& folder, const WipeChoice& wipe, std::uint64_t keep,
                     std::size_t chunk) {
    const auto at = Locate(folder, Reach::Unprotected);
    if (!at) return false;
    return EmptyOpenFolder(UniqueFd(::openat(at->folder.get(), at->name.c_str(), kFolderOpen)),
                           wipe, keep, chunk);
}

bool EmptyFolderInside(const fs::path& base, const fs::path& below) {
    UniqueFd folder(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const fs::path& part : below.lexically_normal()) {
        if (part.empty() || part == ".") continue;
        if (!folder || part == ".." || below.is_absolute()) {
            tLastError = ERROR_ACCESS_DENIED;
            return false;
        }
        folder = UniqueFd(::openat(folder.get(), part.c_str(), kFolderOpen));
    }
    return EmptyOpenFolder(std::move(folder), {}, 0, 0);
}

bool RemoveTree(const fs::path& path) {
    const auto at = Locate(path, Reach::Unprotected);
    if (!at) return false;
    const int parent = at->folder.get();
    const char* name = at->name.c_str();
    struct stat st {};
    if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return ::unlinkat(parent, name, 0) == 0;
    EmptyOpenFolder(UniqueFd(::openat(parent, name, kFolderOpen)), {}, 0, 0);
    if (::unlinkat(parent, name, AT_REMOVEDIR) == 0) return true;
    SetErrorFromErrno();
    return false;
}

}  // namespace platform
