#include "platform/SharedRecord.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/Root.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// FNV-1a: stable across processes and builds, unlike std::hash.
std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

std::string SharedRecord::ObjectName(std::string_view name) {
    std::error_code ec;
    fs::path root = fs::weakly_canonical(UserRoot(), ec);
    if (ec) root = UserRoot();
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(root.string())));
    return "/kavelin-" + std::to_string(::geteuid()) + "-" + hash + "-" + std::string(name);
}

std::optional<SharedRecord> SharedRecord::Open(std::string_view name, std::size_t size) {
    if (size == 0) return std::nullopt;
    const std::string object = ObjectName(name);
    const int fd = ::shm_open(object.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    bool usable = ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid();
    // Several processes may make the record at once: each grows it to the
    // size it needs (growing zero-fills; the same size again changes
    // nothing), so no one maps a block shorter than its fields.
    if (usable && static_cast<std::size_t>(info.st_size) < size)
        usable = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    void* data = usable ? ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                        : MAP_FAILED;
    ::close(fd);
    if (data == MAP_FAILED) return std::nullopt;
    return SharedRecord(data, size);
}

void SharedRecord::Remove(std::string_view name) { ::shm_unlink(ObjectName(name).c_str()); }

SharedRecord::SharedRecord(SharedRecord&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SharedRecord& SharedRecord::operator=(SharedRecord&& other) noexcept {
    if (this != &other) {
        if (data_) ::munmap(data_, size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

SharedRecord::~SharedRecord() {
    if (data_) ::munmap(data_, size_);
}

}  // namespace platform
