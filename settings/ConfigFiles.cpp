#include "settings/ConfigFiles.h"

#include <string>

#include "platform/NoCasePath.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"
#include "settings/CPrefsKeeper.h"
#include "settings/ConfigKeys.h"

namespace configfiles {
namespace fs = std::filesystem;

namespace {

std::string NoFileKey() { return std::string(configkeys::kBackUp) + "\\NoFile"; }

}  // namespace

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

std::optional<fs::path> KnownPath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    return fs::path(path);
}

bool BackUpFile(const std::optional<fs::path>& client, const std::optional<fs::path>& backup) {
    if (!client || !backup) return false;
    const std::string name = backup->filename().string();
    switch (platform::ReadFileIfPresent(*client).state) {
    case platform::FileContents::State::Unreadable: return false;
    case platform::FileContents::State::Absent: return configkeys::SetFlag(NoFileKey(), name, true);
    case platform::FileContents::State::Read: break;
    }
    // The note goes first: a copy beside a stale note would be taken for a
    // file that was never there.
    return configkeys::SetFlag(NoFileKey(), name, false) && platform::CopyFileAtomic(*client, *backup);
}

bool RestoreFile(const std::optional<fs::path>& backup, const std::optional<fs::path>& client) {
    if (!client || !backup) return false;
    if (configkeys::IsFlagSet(NoFileKey(), backup->filename().string())) return platform::RemoveFileDurably(*client);
    return platform::CopyFileAtomic(*backup, *client);
}

}  // namespace configfiles
