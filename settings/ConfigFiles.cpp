#include "settings/ConfigFiles.h"

#include <string>

#include "platform/NoCasePath.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"
#include "settings/CPrefsKeeper.h"

namespace configfiles {
namespace fs = std::filesystem;

std::optional<fs::path> ShellFile(int csidl, std::string_view fragment) {
    const auto folder = platform::ShellFolder(csidl);
    if (!folder) return std::nullopt;
    return platform::ResolveNoCase(*folder, fragment);
}

std::optional<fs::path> BackupFile(std::string_view name) {
    const std::string folder = CPrefsKeeper::GetBackupFolderPath();
    if (folder.empty()) return std::nullopt;
    return platform::JoinBelowRoot(folder, name);
}

std::optional<fs::path> FileBelowWindowsPath(std::string_view windowsFolder, std::string_view fragment) {
    const auto folder = platform::MapWindowsPath(windowsFolder);
    if (!folder) return std::nullopt;
    return platform::ResolveNoCase(*folder, fragment);
}

void CopyOver(const std::optional<fs::path>& source, const std::optional<fs::path>& target) {
    if (source && target) platform::CopyFileAtomic(*source, *target);
}

}  // namespace configfiles
