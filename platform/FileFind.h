#pragma once
// Folder listing in the manner of FindFirstFile/FindNextFile: a Windows-style
// wildcard pattern ("*", "?", "*.*" matching every name, without case), "."
// and ".." first, then the names sorted without case. Attributes come from
// lstat, so a symbolic link is reported as a link, never as its target.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x0001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x0002;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x0010;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x0080;
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x0400;  // a symbolic link

struct FindData {
    std::string name;          // the entry's own name, no folder
    DWORD attributes = 0;      // FILE_ATTRIBUTE_* bits
    std::uint64_t size = 0;    // bytes, for regular files
    std::time_t lastWrite = 0;

    bool IsDirectory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    bool IsDots() const { return name == "." || name == ".."; }
};

// The entries of folder whose names match pattern. Empty when the folder
// cannot be read.
std::vector<FindData> FindFiles(const std::filesystem::path& folder, std::string_view pattern);

// Windows wildcard match without case: "*" any run, "?" one character; a
// trailing ".*" also matches a name without an extension ("*.*" matches all).
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
