#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/CrashPoint.h"
#include "platform/ProgramLog.h"
#include "platform/RegText.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"

namespace platform {

namespace {

// Older cache entries (roots no longer in use) are dropped beyond this.
constexpr std::size_t kMaxCachedHives = 12;
// A hive file larger than this is refused rather than read into memory.
constexpr std::int64_t kMaxHiveBytes = 64 << 20;
// The hive files of a root, in the order a batch locks them.
constexpr const char* kHiveFiles[] = {"HKCU.reg", "HKLM.reg", "HKCR.reg"};

LONG ErrnoResult(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_WRITE_FAULT;
    }
}

// The folder is made only when something is written: reading a root that
// has no registry yet leaves it as it is.
std::string HiveFile(Hive hive) {
    const char* name = kHiveFiles[0];
    if (hive == Hive::LocalMachine) name = kHiveFiles[1];
    if (hive == Hive::ClassesRoot) name = kHiveFiles[2];
    return (UserRoot() / "registry" / name).string();
}

}  // namespace

// An exclusive flock on a lock file, released when the object goes.
class RegistryStore::FileLock {
public:
    explicit FileLock(const std::string& file) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
        fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            error_ = ErrnoResult(errno);
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = ErrnoResult(errno);
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    LONG error() const { return error_; }

private:
    int fd_ = -1;
    LONG error_ = ERROR_SUCCESS;
};

namespace {

bool ReadAll(int fd, std::int64_t expected, std::string& text) {
    text.clear();
    text.reserve(static_cast<std::size_t>(expected));
    char buffer[16384];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<std::int64_t>(text.size()) > kMaxHiveBytes) return false;
    }
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

HiveFileIdentity IdentityOf(const struct stat& st) {
    return HiveFileIdentity{true,
                            static_cast<std::uint64_t>(st.st_dev),
                            static_cast<std::uint64_t>(st.st_ino),
                            static_cast<std::int64_t>(st.st_size),
                            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                            static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

bool SamePath(const std::vector<std::string>& prefix, const std::vector<std::string>& path) {
    if (prefix.size() > path.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (!EqualNoCase(prefix[i], path[i])) return false;
    }
    return true;
}

// "<file>.damaged-<local time>", with "-2", "-3"... when that is taken.
std::string DamagedName(const std::string& file, int attempt) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = file + ".damaged-" + stamp;
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return name;
}

// The damaged file under a new name of its own: a second link to the same
// bytes, or, where links cannot be made, a copy. The file itself is never
// changed. Nothing when neither can be made.
std::optional<std::string> LinkOrCopyAside(const std::string& file, const std::string& text) {
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string aside = DamagedName(file, attempt);
        if (::link(file.c_str(), aside.c_str()) == 0) return aside;
        if (errno == EEXIST) continue;
        const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
        ::close(fd);
        if (written) return aside;
        ::unlink(aside.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

RegistryStore::CachedHive::~CachedHive() {
    if (pinnedFd >= 0) ::close(pinnedFd);
}

void RegistryStore::CachedHive::Pin(int fd, const HiveFileIdentity& id) {
    if (pinnedFd >= 0) ::close(pinnedFd);
    pinnedFd = fd;
    identity = id;
}

RegistryStore::RegistryStore() = default;
RegistryStore::~RegistryStore() = default;

RegistryStore& RegistryStore::Instance() {
    static RegistryStore store;
    return store;
}

RegistryStore::CachedHive& RegistryStore::Entry(const std::string& file) {
    CachedHive& entry = hives_[file];
    entry.lastUse = ++useClock_;
    while (hives_.size() > kMaxCachedHives) {
        auto oldest = hives_.begin();
        for (auto it = hives_.begin(); it != hives_.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse) oldest = it;
        }
        hives_.erase(oldest);
    }
    return entry;
}

LONG RegistryStore::Note(LONG result) {
    if (batchDepth_ > 0 && batchResult_ == ERROR_SUCCESS) batchResult_ = result;
    return result;
}

LONG RegistryStore::LockBatch(const std::string& file) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (batchLocks_.count(file)) return batchLocks_[file]->error();
    // All three at once, in one order, so that batches of two processes
    // never wait for each other's second lock.
    for (const char* name : kHiveFiles) {
        const std::string hive = (folder / name).string();
        auto& lock = batchLocks_[hive];
        if (!lock) lock = std::make_unique<FileLock>(hive + ".lock");
    }
    return batchLocks_[file]->error();
}

LONG RegistryStore::Lock(const std::string& file, std::unique_ptr<FileLock>* own) {
    if (batchDepth_ > 0) return LockBatch(file);
    *own = std::make_unique<FileLock>(file + ".lock");
    return (*own)->error();
}

LONG RegistryStore::Refresh(const std::string& file, Hive hive, CachedHive& cached, bool locked) {
    const auto becomeEmpty = [&cached] {
        cached.root = RegNode{};
        cached.Pin(-1, HiveFileIdentity{});
        cached.loaded = true;
        cached.writesRefused = false;
    };

    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno != ENOENT) return ErrnoResult(errno);
        if (!cached.loaded || cached.identity.exists) becomeEmpty();
        return ERROR_SUCCESS;
    }
    if (cached.loaded && cached.identity == IdentityOf(st)) return ERROR_SUCCESS;

    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) return ErrnoResult(errno);
        becomeEmpty();
        return ERROR_SUCCESS;
    }
    std::string text;
    if (::fstat(fd, &st) != 0 || st.st_size > kMaxHiveBytes || !ReadAll(fd, st.st_size, text)) {
        ::close(fd);
        return ERROR_INVALID_DATA;
    }
    HiveTextFaults faults;
    RegNode parsed = std::move(*ParseHiveText(hive, text, false, &faults));
    if (faults.lines > 0 && !locked) {
        // Kept aside only under the lock, where no other process can be
        // doing the same or replacing the file meanwhile.
        ::close(fd);
        std::unique_ptr<FileLock> lock;
        if (Lock(file, &lock) == ERROR_SUCCESS) return Refresh(file, hive, cached, true);
        cached.root = std::move(parsed);
        cached.Pin(-1, HiveFileIdentity{});
        cached.loaded = false;
        return ERROR_SUCCESS;
    }
    cached.root = std::move(parsed);
    cached.Pin(fd, IdentityOf(st));
    cached.loaded = true;
    cached.writesRefused = false;
    if (faults.lines > 0) return KeepDamagedAside(file, hive, cached, text, faults.lines, faults.firstLine);
    return ERROR_SUCCESS;
}

LONG RegistryStore::KeepDamagedAside(const std::string& file, Hive hive, CachedHive& cached, const std::string& text,
                                     std::size_t damagedLines, std::size_t firstLine) {
    const auto aside = LinkOrCopyAside(file, text);
    const std::string lines = std::to_string(damagedLines) + (damagedLines == 1 ? " line" : " lines");
    if (!aside) {
        // Without a safe copy the file is not replaced: its unread lines
        // must not be lost. Writes are refused until the file changes.
        LogNotice("The registry file " + file + " has " + lines + " that cannot be read (the first is line " +
                  std::to_string(firstLine) + ") and no copy of it can be made; it is left as it is, and "
                  "changes to it are refused.");
        cached.writesRefused = true;
        return ERROR_SUCCESS;
    }
    LogNotice("The registry file " + file + " has " + lines + " that cannot be read (the first is line " +
              std::to_string(firstLine) + "); it is kept unchanged as " + *aside +
              ", and the registry goes on with the rest of it.");
    SyncFolder(std::filesystem::path(file).parent_path());
    // From now on the hive file holds what could be read; the original
    // bytes stay in the copy, which nothing writes to. Should this save
    // fail, the next write tries again.
    Save(file, hive, cached);
    return ERROR_SUCCESS;
}

LONG RegistryStore::Save(const std::string& file, Hive hive, CachedHive& cached) {
    const std::string text = FormatHiveText(hive, cached.root);
    std::string temp = file + ".tmp-XXXXXX";
    const int fd = MakeTemporaryFile(temp);
    if (fd < 0) return ErrnoResult(errno);
    // The data reaches the disk before the rename can, so a crash leaves
    // the old hive or the new one, never a torn file.
    if (!WriteAll(fd, text) || ::fdatasync(fd) != 0 || ::rename(temp.c_str(), file.c_str()) != 0) {
        const LONG result = ErrnoResult(errno);
        ::unlink(temp.c_str());
        ::close(fd);
        return result;
    }
    SyncFolder(std::filesystem::path(file).parent_path());
    AfterDurableWrite();
    // ctime moves with the rename on some filesystems: take it afterwards.
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        cached.loaded = false;
        return ERROR_SUCCESS;
    }
    cached.Pin(fd, IdentityOf(st));
    return ERROR_SUCCESS;
}

LONG RegistryStore::Read(Hive hive, const Reader& reader) {
    const std::lock_guard lock(mutex_);
    const std::string file = HiveFile(hive);
    const bool locked = batchDepth_ > 0;
    if (locked) {
        if (const LONG result = LockBatch(file); result != ERROR_SUCCESS) return Note(result);
    }
    CachedHive& cached = Entry(file);
    if (const LONG result = Refresh(file, hive, cached, locked); result != ERROR_SUCCESS) return Note(result);
    return reader(cached.root);
}

LONG RegistryStore::Write(Hive hive, const Writer& writer) {
    const std::lock_guard lock(mutex_);
    const std::string file = HiveFile(hive);
    std::unique_ptr<FileLock> ownLock;
    if (const LONG result = Lock(file, &ownLock); result != ERROR_SUCCESS) return Note(result);
    CachedHive& cached = Entry(file);
    if (const LONG result = Refresh(file, hive, cached, true); result != ERROR_SUCCESS) return Note(result);
    if (cached.writesRefused) return Note(ERROR_WRITE_FAULT);
    bool changed = false;
    const LONG result = writer(cached.root, changed);
    if (!changed) return result;
    if (batchDepth_ > 0) {
        batchChanged_[file] = hive;
        return result;
    }
    if (const LONG saved = Save(file, hive, cached); saved != ERROR_SUCCESS) {
        cached.loaded = false;   // the tree holds a change the file does not
        return saved;
    }
    return result;
}

void RegistryStore::BeginBatch() {
    mutex_.lock();
    ++batchDepth_;
}

LONG RegistryStore::EndBatch() {
    LONG result = batchResult_;
    if (--batchDepth_ == 0) {
        SaveBatch();
        result = batchResult_;
        batchResult_ = ERROR_SUCCESS;
        batchLocks_.clear();
    }
    mutex_.unlock();
    return result;
}

// Writes every hive the batch changed, under the locks it still holds. The
// cache is never evicted during a batch (at most three hives are in it), so
// the changed trees are still there.
void RegistryStore::SaveBatch() {
    for (const auto& [file, hive] : batchChanged_) {
        CachedHive& cached = Entry(file);
        if (const LONG saved = Save(file, hive, cached); saved != ERROR_SUCCESS) {
            cached.loaded = false;
            if (batchResult_ == ERROR_SUCCESS) batchResult_ = saved;
        }
    }
    batchChanged_.clear();
}

void RegistryStore::Deny(Hive hive, std::vector<std::string> path) {
    const std::lock_guard lock(mutex_);
    denials_.push_back(Denial{hive, std::move(path)});
}

void RegistryStore::ClearDenials() {
    const std::lock_guard lock(mutex_);
    denials_.clear();
}

bool RegistryStore::IsDenied(Hive hive, const std::vector<std::string>& path) const {
    const std::lock_guard lock(mutex_);
    for (const Denial& d : denials_) {
        if (d.hive == hive && SamePath(d.path, path)) return true;
    }
    return false;
}

bool RegistryStore::IsDeniedAtOrBelow(Hive hive, const std::vector<std::string>& path) const {
    const std::lock_guard lock(mutex_);
    for (const Denial& d : denials_) {
        if (d.hive == hive && (SamePath(d.path, path) || SamePath(path, d.path))) return true;
    }
    return false;
}

}  // namespace platform
