#pragma once
// Plain file and folder calls in the manner of the Win32 ones the cleaners
// use (DeleteFile, RemoveDirectory, Get/SetFileAttributes, the current
// directory), plus the two walks they need: emptying a folder tree and
// overwriting a file in place.
//
// Every call that changes something reaches its target from the per-user
// root down, one folder at a time, never through a symbolic link: a link on
// the way refuses the call, a link as the target is handled as a link (and
// deleted as one), and walks hold the folder they read open, so a folder
// swapped for a link mid-walk is not entered either. Nothing here writes
// into a file that has a second name (a hard link), which may lie anywhere.
// The root itself, its registry/ and its program/ folders, with all they
// hold, are never deleted, emptied, wiped or moved.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// True when path is the per-user root or lies inside it, and every folder
// below the root on the way to its last component is a real folder, not a
// link (a folder that does not exist ends the check: nothing can be
// followed there). The last component is not looked at, since the calls
// here handle a link as a link.
bool ResolvesInsideRoot(const std::filesystem::path& path);

// True for the per-user root, the folders that hold it, its registry/ and
// program/ folders and everything inside those two: the settings and the
// engine's own files, which no delete, wipe or move may reach.
bool IsProtectedPath(const std::filesystem::path& path);

// Creates folder and every missing folder above it, up to the per-user
// root, never through a link. False when folder lies outside the root or a
// folder on the way is a link or no folder.
bool MakeFoldersBelowRoot(const std::filesystem::path& folder);

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
// is a link, no regular file, a file with more than one name, or cannot be
// opened for writing.
bool OverwriteFileTail(const std::filesystem::path& file, std::uint64_t keep, std::size_t chunk);

// Called with each file's name before it is deleted during EmptyFolderTree;
// true asks for the file to be overwritten (as OverwriteFileTail) first.
using WipeChoice = std::function<bool(std::string_view name)>;

// Deletes everything inside folder, at any depth, without recursion and
// with a bounded number of open descriptors. Read-only entries are made
// writable first (a file with a second name is left as it is and only its
// name here is deleted). Links are deleted, never followed. Entries that
// cannot be deleted are left and the walk goes on. False only when folder
// itself cannot be opened as a folder (missing, a link, no folder, reached
// through a link, protected).
bool EmptyFolderTree(const std::filesystem::path& folder, const WipeChoice& wipe = {},
                     std::uint64_t keep = 0, std::size_t chunk = 10000);

// The same walk over base/below, a folder outside the per-user root that is
// the desktop's own (the user's trash): base is opened as it is named, each
// component of the relative path below must be a real folder. False when
// it cannot be opened so.
bool EmptyFolderInside(const std::filesystem::path& base, const std::filesystem::path& below);

// Deletes a file or link, or a folder with everything inside it. True when
// the path is gone afterwards.
bool RemoveTree(const std::filesystem::path& path);

}  // namespace platform
