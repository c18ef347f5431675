#pragma once
// A small block of memory shared by every process of the user that opens the
// same record name under the same per-user root. The block is zero-filled
// when it is first made and lives on after its last user unmaps it, until
// Remove. Callers change its fields with atomic operations only
// (std::atomic_ref over naturally aligned integers).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class SharedRecord {
public:
    // Opens the record, making it when it does not exist yet; nothing when
    // it cannot be made or mapped, or belongs to another user.
    static std::optional<SharedRecord> Open(std::string_view name, std::size_t size);
    // Removes the record's name; mappings made before stay valid.
    static void Remove(std::string_view name);
    // The system-wide object name: per user and per root.
    static std::string ObjectName(std::string_view name);

    SharedRecord(SharedRecord&& other) noexcept;
    SharedRecord& operator=(SharedRecord&& other) noexcept;
    SharedRecord(const SharedRecord&) = delete;
    SharedRecord& operator=(const SharedRecord&) = delete;
    ~SharedRecord();

    void* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    SharedRecord(void* data, std::size_t size) : data_(data), size_(size) {}

    void* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace platform
