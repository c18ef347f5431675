#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/RegText.h"
#include "platform/Root.h"

namespace platform {

namespace {

// Older cache entries (roots no longer in use) are dropped beyond this.
constexpr std::size_t kMaxCachedHives = 12;
// A hive file larger than this is refused rather than read into memory.
constexpr std::int64_t kMaxHiveBytes = 64 << 20;

LONG ErrnoResult(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_WRITE_FAULT;
    }
}

std::string HiveFile(Hive hive) {
    const char* name = "HKCU.reg";
    if (hive == Hive::LocalMachine) name = "HKLM.reg";
    if (hive == Hive::ClassesRoot) name = "HKCR.reg";
    return (RegistryFolder() / name).string();
}

}  // namespace

// An exclusive flock on a lock file, released when the object goes.
class RegistryStore::FileLock {
public:
    explicit FileLock(const std::string& file)
        : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
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
    int fd_;
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

LONG RegistryStore::Refresh(const std::string& file, Hive hive, CachedHive& cached) {
    const auto becomeEmpty = [&cached] {
        cached.root = RegNode{};
        cached.Pin(-1, HiveFileIdentity{});
        cached.loaded = true;
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
    cached.root = std::move(*ParseHiveText(hive, text, false));
    cached.Pin(fd, IdentityOf(st));
    cached.loaded = true;
    return ERROR_SUCCESS;
}

LONG RegistryStore::Save(const std::string& file, Hive hive, CachedHive& cached) {
    const std::string text = FormatHiveText(hive, cached.root);
    std::string temp = file + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return ErrnoResult(errno);
    // The data reaches the disk before the rename can, so a crash leaves
    // the old hive or the new one, never a torn file.
    if (!WriteAll(fd, text) || ::fdatasync(fd) != 0 || ::rename(temp.c_str(), file.c_str()) != 0) {
        const LONG result = ErrnoResult(errno);
        ::unlink(temp.c_str());
        ::close(fd);
        return result;
    }
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
    CachedHive& cached = Entry(file);
    if (const LONG result = Refresh(file, hive, cached); result != ERROR_SUCCESS) return result;
    return reader(cached.root);
}

LONG RegistryStore::Write(Hive hive, const Writer& writer) {
    const std::lock_guard lock(mutex_);
    const std::string file = HiveFile(hive);
    std::unique_ptr<FileLock> ownLock;
    BatchHive* batched = nullptr;
    if (batchDepth_ > 0) {
        auto [it, added] = batch_.try_emplace(file, BatchHive{hive, nullptr, false});
        if (added) it->second.lock = std::make_unique<FileLock>(file + ".lock");
        if (it->second.lock->error() != ERROR_SUCCESS) return it->second.lock->error();
        batched = &it->second;
    } else {
        ownLock = std::make_unique<FileLock>(file + ".lock");
        if (ownLock->error() != ERROR_SUCCESS) return ownLock->error();
    }
    CachedHive& cached = Entry(file);
    if (const LONG result = Refresh(file, hive, cached); result != ERROR_SUCCESS) return result;
    bool changed = false;
    const LONG result = writer(cached.root, changed);
    if (!changed) return result;
    if (batched) {
        batched->dirty = true;
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

void RegistryStore::EndBatch() {
    if (--batchDepth_ == 0) SaveBatch();
    mutex_.unlock();
}

// Writes every hive the batch changed; the file locks go with the entries.
// The cache is never evicted during a batch (at most three hives are in it),
// so the changed trees are still there.
void RegistryStore::SaveBatch() {
    for (auto& [file, entry] : batch_) {
        if (!entry.dirty) continue;
        CachedHive& cached = Entry(file);
        if (Save(file, entry.hive, cached) != ERROR_SUCCESS) cached.loaded = false;
    }
    batch_.clear();
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
