#pragma once
// Plain file and folder calls in the manner of the Win32 ones the cleaners
// use (DeleteFile, RemoveDirectory, Get/SetFileAttributes, the current
// directory), plus the two walks they need: emptying a folder tree and
// overwriting a file in place. Nothing here follows a symbolic link: a link
// is deleted as a link and never opened, and walks hold the folder they read
// open, so a folder swapped for a link mid-walk is not entered either.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// True when path lies inside the per-user root once the links of its
// folders are resolved; its last component is not resolved, since the
// calls here handle a link as a link.
bool ResolvesInsideRoot(const std::filesystem::path& path);

// GetLastError/SetLastError for the calling thread.
DWORD GetLastError();
void SetLastError(DWORD error);

bool CreateDirectory(const std::filesystem::path& folder);
// Removes an empty folder (never a link to one).
bool RemoveDirectory(const std::filesystem::path& folder);
// Deletes a file or a link; never a folder.
bool DeleteFile(const std::filesystem::path& file);

// FILE_ATTRIBUTE_* bits from lstat, INVALID_FILE_ATTRIBUTES when missing.
DWORD GetFileAttributes(const std::filesystem::path& path);
// Only the read-only bit has a meaning here: it clears or sets the owner's
// write permission. A link is left alone.
bool SetFileAttributes(const std::filesystem::path& path, DWORD attributes);

std::string GetCurrentDirectory();
bool SetCurrentDirectory(const std::filesystem::path& folder);

// Overwrites a regular file with zero bytes from byte keep to its end, in
// chunks of at most chunk bytes, and flushes the data to disk before
// returning. The file keeps its size. False (nothing written) when the path
// is a link, no regular file, or cannot be opened for writing.
bool OverwriteFileTail(const std::filesystem::path& file, std::uint64_t keep, std::size_t chunk);

// Called with each file's name before it is deleted during EmptyFolderTree;
// true asks for the file to be overwritten (as OverwriteFileTail) first.
using WipeChoice = std::function<bool(std::string_view name)>;

// Deletes everything inside folder, at any depth, without recursion and
// with a bounded number of open descriptors. Read-only entries are made
// writable first. Links are deleted, never followed. Entries that cannot be
// deleted are left and the walk goes on. False only when folder itself
// cannot be opened as a folder (missing, a link, no folder).
bool EmptyFolderTree(const std::filesystem::path& folder, const WipeChoice& wipe = {},
                     std::uint64_t keep = 0, std::size_t chunk = 10000);

// Deletes a file or link, or a folder with everything inside it. True when
// the path is gone afterwards.
bool RemoveTree(const std::filesystem::path& path);

}  // namespace platform
