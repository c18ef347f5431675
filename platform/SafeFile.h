#pragma once
// Whole-file reads and replacements. A replacement is written to a
// temporary file beside the target and renamed over it only when it is
// complete, so a failure at any step leaves the original untouched; the
// folder is flushed after the rename, so the change survives a crash once
// the call returns. A target that is a symbolic link is replaced at the file
// it names, so the link itself survives.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A read that tells a file that is not there from one that cannot be read
// (no permission, not a regular file, an I/O error).
struct FileContents {
    enum class State { Read, Absent, Unreadable };
    State state = State::Absent;
    std::string bytes;   // when Read
};
FileContents ReadFileIfPresent(const std::filesystem::path& file);

// The whole file as bytes; nothing when it cannot be opened or is no
// regular file.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Replaces (or creates) file with bytes. The folder must exist. An existing
// file keeps its permission bits. False on any failure.
bool WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes);

// CopyFile with overwriting allowed: the copy replaces target atomically and
// takes the source's permission bits, so a copy of a private file stays
// private. False when the source cannot be read or the target cannot be
// written.
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

// Removes a file (a symbolic link itself, never what it names; never a
// folder) inside the per-user root. True when it is gone, also when it was
// not there.
bool RemoveFileDurably(const std::filesystem::path& file);

// For the other writers of the layer (the registry store): a temporary file
// made from a mkstemp pattern, close-on-exec, or -1; and a folder flushed so
// that a rename or removal inside it is on the disk.
int MakeTemporaryFile(std::string& pattern);
void SyncFolder(const std::filesystem::path& folder);

namespace safefile_test {
// While set, creating a temporary file fails (as on a full or read-only
// disk), so every replacement and every hive save fails before the target
// is touched.
void FailTemporaryFiles(bool fail);
// Until cleared (an empty path), the file at this path is there but cannot
// be read, as one without read permission (which does not stop root).
void DenyReading(const std::filesystem::path& file);
}  // namespace safefile_test

}  // namespace platform
