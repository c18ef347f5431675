#pragma once
// The process-wide store behind RegKey: one cached tree per hive file, kept
// in step with the file. The cache is keyed by the file's path because the
// per-user root is read from the environment on every operation.
//
// Readers compare the file's identity (device, inode, size, mtime and ctime
// in nanoseconds) with the one they loaded and reload when it differs. The
// loaded file stays open, so its inode number cannot be handed to a later
// file while we remember it: every write replaces the file by rename, so two
// writes within one mtime tick with equal sizes still differ in inode.
//
// Writers take an exclusive flock on "<hive>.reg.lock" beside the hive,
// reload when the file changed, apply their change, write the whole hive to
// a temporary file in the same folder and rename it into place. Readers need
// no file lock: a rename swaps complete files.
//
// A batch takes the locks of all three hives of the root, always in the same
// order, the first time it touches the registry, and keeps them to its end:
// everything it reads comes from one save of each hive, and no other
// process's save falls between its reads and its writes.
//
// A hive file with lines that cannot be read is kept aside, under its lock,
// as "<hive>.reg.damaged-<time>" (the original bytes, never written to), the
// program log says so, and the hive goes on with what could be read.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace platform {

// What tells one version of a hive file from another.
struct HiveFileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;
    bool operator==(const HiveFileIdentity&) const = default;
};

class RegistryStore {
public:
    using Reader = std::function<LONG(const RegNode& root)>;
    // Sets changed when it altered the tree; the hive is written only then.
    using Writer = std::function<LONG(RegNode& root, bool& changed)>;

    static RegistryStore& Instance();

    LONG Read(Hive hive, const Reader& reader);
    LONG Write(Hive hive, const Writer& writer);

    // A batch holds the store and the hives' file locks from BeginBatch to
    // EndBatch; changes made meanwhile are saved once per hive at the
    // outermost EndBatch. Other threads wait for the batch. EndBatch gives
    // the first failure to store a change of the batch (a lock, a reload or
    // a save), ERROR_SUCCESS when there was none.
    void BeginBatch();
    LONG EndBatch();

    // Denied paths (test hook): a path at or below a denied one is refused.
    void Deny(Hive hive, std::vector<std::string> path);
    void ClearDenials();
    bool IsDenied(Hive hive, const std::vector<std::string>& path) const;
    // True when path, or anything below it, is denied.
    bool IsDeniedAtOrBelow(Hive hive, const std::vector<std::string>& path) const;

private:
    struct CachedHive {
        RegNode root;
        bool loaded = false;
        HiveFileIdentity identity;
        int pinnedFd = -1;   // the loaded file, held open (see above)
        bool writesRefused = false;   // damaged, and no copy of it could be kept
        std::uint64_t lastUse = 0;
        CachedHive() = default;
        CachedHive(const CachedHive&) = delete;
        CachedHive& operator=(const CachedHive&) = delete;
        ~CachedHive();
        void Pin(int fd, const HiveFileIdentity& id);
    };
    struct Denial {
        Hive hive;
        std::vector<std::string> path;
    };

    class FileLock;

    RegistryStore();
    ~RegistryStore();
    CachedHive& Entry(const std::string& file);
    // The hive's lock: the batch's, or (outside a batch, when own is given)
    // a new one kept in own. ERROR_SUCCESS or why it cannot be had.
    LONG Lock(const std::string& file, std::unique_ptr<FileLock>* own);
    LONG LockBatch(const std::string& file);
    void SaveBatch();
    // locked: the caller holds the hive's file lock.
    LONG Refresh(const std::string& file, Hive hive, CachedHive& cached, bool locked);
    LONG Save(const std::string& file, Hive hive, CachedHive& cached);
    LONG KeepDamagedAside(const std::string& file, Hive hive, CachedHive& cached, const std::string& text,
                          std::size_t damagedLines, std::size_t firstLine);
    // Records the first failure of an open batch; gives result back.
    LONG Note(LONG result);

    // Guards everything below; held for the whole of each operation, file
    // lock included, so threads of one process never race. Recursive so that
    // a batch can hold it across the operations it groups.
    mutable std::recursive_mutex mutex_;
    std::map<std::string, CachedHive> hives_;
    int batchDepth_ = 0;
    std::map<std::string, std::unique_ptr<FileLock>> batchLocks_;   // by hive file
    std::map<std::string, Hive> batchChanged_;   // hives written in the open batch
    LONG batchResult_ = ERROR_SUCCESS;
    std::vector<Denial> denials_;
    std::uint64_t useClock_ = 0;
};

}  // namespace platform
