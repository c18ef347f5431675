#pragma once
// Internal to the typed-address and favourites backup and restore of
// CTraceSweeper: the user prompts, the browsers' folders and the steps that
// more than one file shares.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace cleanup::backup {

enum class Direction { Backup, Restore };

// The save dialog for a backup, the open dialog for a restore; nothing when
// the user cancels.
std::optional<std::filesystem::path> AskFile(Direction direction);
// A message box with the OK button.
void Tell(std::string_view text, platform::UINT icon = 0);

// The Opera program folder from the "Last CommandLine" value, mapped below
// the per-user root; nothing when it is unknown or cannot be mapped.
std::optional<std::string> OperaFolder();
// windowsFolder + "\" + file, mapped below the per-user root.
std::optional<std::filesystem::path> OperaFile(const std::string& windowsFolder, std::string_view file);

void BackupIEFavorites();
void RestoreIEFavorites();
void BackupIETypedUrls();
void RestoreIETypedUrls();
void BackupOperaTypedUrls();
void RestoreOperaTypedUrls();

}  // namespace cleanup::backup
