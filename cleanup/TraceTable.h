#pragma once
// Cleaners as data: each cleaner lists its traces in a small table of
// Trace rows and hands the table to SweepTraces, which acts on each row in
// order. Every row is best effort; a row that finds nothing to remove fails
// quietly and the sweep goes on.

#include <span>

#include "cleanup/CCleanIE.h"
#include "platform/Registry.h"
#include "platform/Root.h"

namespace cleanup {

enum class TraceKind {
    RegistryKey,    // the key with all its subkeys (SHDeleteKey)
    RegistryValue,  // one value of a key (SHDeleteValue)
    ProfileFile,    // a file of the browser profile (DeleteFile)
    ProfileTree,    // a folder of the browser profile with its content (DelTree)
    ProfileFolder,  // an empty folder of the browser profile (RemoveDirectory)
    ShellTree,      // a shell folder itself, with its content (DelTree)
    ShellContent,   // what lies inside a shell folder (EmptyDirectory)
    UrlCache,       // URL cache entries of one kind
    UrlHistory,     // the browser's history store
    RecycleBin,     // the recycle bins of all drives
};

enum class Profile { None, Netscape, Opera };

struct Trace {
    TraceKind kind;
    platform::Hive hive = platform::HKEY_CURRENT_USER;
    const char* path = "";   // registry key, or a name below the profile or shell folder
    const char* value = "";  // registry value name
    Profile profile = Profile::None;
    int csidl = 0;
    DEL_CACHE_TYPE cacheType = DCT_TEMP_FILES;
};

constexpr Trace Key(platform::Hive hive, const char* key) {
    return Trace{TraceKind::RegistryKey, hive, key};
}
constexpr Trace Value(platform::Hive hive, const char* key, const char* value) {
    return Trace{TraceKind::RegistryValue, hive, key, value};
}
constexpr Trace ProfileFile(Profile profile, const char* name) {
    return Trace{TraceKind::ProfileFile, platform::HKEY_CURRENT_USER, name, "", profile};
}
constexpr Trace ProfileTree(Profile profile, const char* name) {
    return Trace{TraceKind::ProfileTree, platform::HKEY_CURRENT_USER, name, "", profile};
}
constexpr Trace ProfileFolder(Profile profile, const char* name) {
    return Trace{TraceKind::ProfileFolder, platform::HKEY_CURRENT_USER, name, "", profile};
}
constexpr Trace ShellTree(int csidl) {
    return Trace{TraceKind::ShellTree, platform::HKEY_CURRENT_USER, "", "", Profile::None, csidl};
}
constexpr Trace ShellContent(int csidl, const char* below = "") {
    return Trace{
        TraceKind::ShellContent, platform::HKEY_CURRENT_USER, below, "", Profile::None, csidl};
}
constexpr Trace UrlCacheEntries(DEL_CACHE_TYPE type) {
    return Trace{TraceKind::UrlCache, platform::HKEY_CURRENT_USER, "", "", Profile::None, 0, type};
}
constexpr Trace UrlHistoryStore() { return Trace{TraceKind::UrlHistory}; }
constexpr Trace RecycleBins() { return Trace{TraceKind::RecycleBin}; }

// Acts on every row in order; true when every row removed something.
bool SweepTraces(std::span<const Trace> traces);

}  // namespace cleanup
