#pragma once
// Paths of the file-based configurators: client files below the
// application-data and program-files folders (found without case), and
// backup files in the backup folder (CPrefsKeeper::GetBackupFolderPath).

#include <filesystem>
#include <optional>
#include <string_view>

namespace configfiles {

// fragment ("Opera\Opera7\profile\opera6.ini") below the shell folder csidl.
std::optional<std::filesystem::path> ShellFile(int csidl, std::string_view fragment);

// name in the backup folder; nothing when the backup folder is unknown.
std::optional<std::filesystem::path> BackupFile(std::string_view name);

// A Windows folder read from the registry, mapped below the profile, then
// fragment below it.
std::optional<std::filesystem::path> FileBelowWindowsPath(std::string_view windowsFolder,
                                                          std::string_view fragment);

// Copies source over target when both are known; a copy that fails (no
// source, no folder) leaves target as it was and is not reported.
void CopyOver(const std::optional<std::filesystem::path>& source,
              const std::optional<std::filesystem::path>& target);

}  // namespace configfiles
