#pragma once
// Whole-file reads and replacements. A replacement is written to a
// temporary file beside the target and renamed over it only when it is
// complete, so a failure at any step leaves the original untouched. A
// target that is a symbolic link is replaced at the file it names, so the
// link itself survives.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The whole file as bytes; nothing when it cannot be opened or is no
// regular file.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Replaces (or creates) file with bytes. The folder must exist. An existing
// file keeps its permission bits. False on any failure.
bool WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes);

// CopyFile with overwriting allowed: the copy replaces target atomically.
// False when the source cannot be read or the target cannot be written.
bool CopyFileAtomic(const std::filesystem::path& source, const std::filesystem::path& target);

// Replaces (or creates) a file wherever it lies, for the files outside the
// per-user root that the system writes: one the user chose in a file
// dialog, an autostart entry of the desktop. The replacement is atomic as
// above; a link or a folder (anything but a regular file) in the file's
// place is refused and left as it is, never written through. A new file is
// readable by its owner only; a replaced one keeps its permission bits.
bool WriteFileNoFollow(const std::filesystem::path& file, std::string_view bytes);
// The whole of source written to target in the same way.
bool CopyFileNoFollow(const std::filesystem::path& source, const std::filesystem::path& target);

namespace safefile_test {
// While set, creating a temporary file fails (as on a full or read-only
// disk), so every replacement fails before the target is touched.
void FailTemporaryFiles(bool fail);
}  // namespace safefile_test

}  // namespace platform
