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

    // A batch holds the store (and, once written to, each hive's file lock)
    // from BeginBatch to EndBatch; changes made meanwhile are saved once per
    // hive at the outermost EndBatch. Other threads wait for the batch.
    void BeginBatch();
    void EndBatch();

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
    struct BatchHive {
        Hive hive;
        std::unique_ptr<FileLock> lock;
        bool dirty = false;
    };

    RegistryStore();
    ~RegistryStore();
    CachedHive& Entry(const std::string& file);
    void SaveBatch();
    LONG Refresh(const std::string& file, Hive hive, CachedHive& cached);
    LONG Save(const std::string& file, Hive hive, CachedHive& cached);

    // Guards hives_, denials_ and useClock_; held for the whole of each
    // operation, file lock included, so threads of one process never race.
    // Recursive so that a batch can hold it across the operations it groups.
    mutable std::recursive_mutex mutex_;
    std::map<std::string, CachedHive> hives_;
    int batchDepth_ = 0;
    std::map<std::string, BatchHive> batch_;   // hives written in the open batch
    std::vector<Denial> denials_;
    std::uint64_t useClock_ = 0;
};

}  // namespace platform
