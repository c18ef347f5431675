#pragma once
// Paths of the file-based configurators: client files below the
// application-data and program-files folders (found without case), and
// backup files in the backup folder (CPrefsKeeper::GetBackupFolderPath).
//
// A backup is exact: a copy of the client's file with its permission bits,
// or, when the client had no such file, a note of that (a value named for
// the backup file under HKCU\Software\Kavelin Ver 2.0\Auto\BackUp\NoFile),
// so that the restore removes the file the relay made.

#include <filesystem>
#include <optional>
#include <string>
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

// A path kept as text by a configurator; nothing while it is empty.
std::optional<std::filesystem::path> KnownPath(const std::string& path);

// Backs client up as backup. False (and no backup) when a path is unknown,
// the client's file is there but cannot be read, or the backup cannot be
// stored.
bool BackUpFile(const std::optional<std::filesystem::path>& client,
                const std::optional<std::filesystem::path>& backup);

// Puts backup back over client: the copy, or, when the client had no file,
// the client's file removed. False when a path is unknown, there is no
// backup, or it cannot be put back (client is then as it was).
bool RestoreFile(const std::optional<std::filesystem::path>& backup,
                 const std::optional<std::filesystem::path>& client);

}  // namespace configfiles
