#include "cleanup/TraceTable.h"

#include <filesystem>
#include <optional>
#include <string>

#include "cleanup/CFileManip.h"
#include "cleanup/NetscapeProfile.h"
#include "platform/FileOps.h"
#include "platform/NoCasePath.h"
#include "platform/RecycleBin.h"
#include "platform/UrlCache.h"
#include "platform/Root.h"

namespace cleanup {
namespace {

namespace fs = std::filesystem;

constexpr platform::DWORD kEmptyBinQuietly =
    platform::SHERB_NOCONFIRMATION | platform::SHERB_NOPROGRESSUI | platform::SHERB_NOSOUND;

std::optional<fs::path> ProfilePath(Profile profile, const char* name) {
    if (profile == Profile::Netscape) {
        const std::string folder = GetNetscapePath();
        if (folder.empty()) return std::nullopt;
        return platform::ResolveNoCase(folder, name);
    }
    const auto appData = platform::ShellFolder(platform::CSIDL_APPDATA);
    if (!appData) return std::nullopt;
    return platform::ResolveNoCase(*appData, std::string("Opera\\Opera7\\profile\\") + name);
}

std::optional<fs::path> ShellPath(int csidl, const char* below) {
    const auto folder = platform::ShellFolder(csidl);
    if (!folder || !*below) return folder;
    return platform::ResolveNoCase(*folder, below);
}

bool DeleteKey(platform::Hive hive, const char* key) {
    return platform::RegKey::Root(hive).RecurseDeleteKey(key) == platform::ERROR_SUCCESS;
}

bool DeleteValue(platform::Hive hive, const char* key, const char* value) {
    platform::RegKey opened;
    return opened.Open(hive, key, platform::KEY_SET_VALUE) == platform::ERROR_SUCCESS &&
           opened.DeleteValue(value) == platform::ERROR_SUCCESS;
}

bool Sweep(const Trace& trace) {
    CCleanIE ie;
    switch (trace.kind) {
        case TraceKind::RegistryKey:
            return DeleteKey(trace.hive, trace.path);
        case TraceKind::RegistryValue:
            return DeleteValue(trace.hive, trace.path, trace.value);
        case TraceKind::ProfileFile: {
            const auto file = ProfilePath(trace.profile, trace.path);
            return file && platform::DeleteFile(*file);
        }
        case TraceKind::ProfileTree: {
            const auto folder = ProfilePath(trace.profile, trace.path);
            return folder && CFileManip::DelTree(folder->string(), 1) == 1;
        }
        case TraceKind::ProfileFolder: {
            const auto folder = ProfilePath(trace.profile, trace.path);
            return folder && platform::RemoveDirectory(*folder);
        }
        case TraceKind::ShellTree: {
            const auto folder = ShellPath(trace.csidl, "");
            return folder && CFileManip::DelTree(folder->string(), 1) == 1;
        }
        case TraceKind::ShellContent: {
            const auto folder = ShellPath(trace.csidl, trace.path);
            return folder && ie.EmptyDirectory(folder->string()) == 1;
        }
        case TraceKind::UrlCache:
            return ie.DeleteUrlCache(trace.cacheType);
        case TraceKind::UrlHistory:
            return platform::ClearUrlHistory();
        case TraceKind::RecycleBin:
            return platform::SHEmptyRecycleBin("", kEmptyBinQuietly) == platform::S_OK;
    }
    return false;
}

}  // namespace

bool SweepTraces(std::span<const Trace> traces) {
    bool all = true;
    for (const Trace& trace : traces) all = Sweep(trace) && all;
    return all;
}

}  // namespace cleanup
