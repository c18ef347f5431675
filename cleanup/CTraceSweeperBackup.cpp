#include <string>
#include <string_view>

#include "cleanup/BookmarkFile.h"
#include "cleanup/CTraceSweeper.h"
#include "cleanup/CTraceSweeperBackupSteps.h"
#include "cleanup/FavoritesFolder.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/NoCasePath.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"

namespace cleanup::backup {

namespace {

constexpr std::string_view kCaption = "Kavelin";
constexpr const char* kOperaKey = "Software\\Opera Software";

}  // namespace

std::optional<std::filesystem::path> AskFile(Direction direction) {
    platform::FileDialogRequest request;
    request.kind = direction == Direction::Backup ? platform::FileDialogKind::Save
                                                  : platform::FileDialogKind::Open;
    request.fileName = "*.*";
    request.filter = "All Files (*.*)";
    request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
    return platform::ShowFileDialog(request);
}

void Tell(std::string_view text, platform::UINT icon) {
    platform::MessageBox(nullptr, text, kCaption, platform::MB_OK | icon);
}

std::optional<std::string> OperaFolder() {
    platform::RegKey opera;
    if (opera.Create(platform::HKEY_CURRENT_USER, kOperaKey) != platform::ERROR_SUCCESS)
        return std::nullopt;
    std::string commandLine;
    opera.QueryStringValue("Last CommandLine", commandLine);
    const auto cut = commandLine.rfind('\\');
    if (cut != std::string::npos) commandLine.resize(cut);
    if (!platform::MapWindowsPath(commandLine)) return std::nullopt;
    return commandLine;
}

std::optional<std::filesystem::path> OperaFile(const std::string& windowsFolder, std::string_view file) {
    return platform::MapWindowsPath(windowsFolder + "\\" + std::string(file));
}

// The browser's own import and export hand its favourites to and from the
// bookmark file every other browser reads; here the Favorites folder is
// written to and read from such a file.
void BackupIEFavorites() {
    const auto favorites = platform::ShellFolder(platform::CSIDL_FAVORITES);
    const auto chosen = AskFile(Direction::Backup);
    if (!chosen) return;
    const bool written =
        favorites && platform::WriteFileNoFollow(*chosen, WriteBookmarkHtml(ReadFavorites(*favorites)));
    Tell(written ? "Your IE Favorites have been exported successfully"
                 : "Error:Your IE Favorites have not been exported");
}

void RestoreIEFavorites() {
    const auto favorites = platform::ShellFolder(platform::CSIDL_FAVORITES);
    const auto chosen = AskFile(Direction::Restore);
    if (!chosen) return;
    const auto text = platform::ReadWholeFile(*chosen);
    const auto items = text ? ReadBookmarkHtml(*text) : std::nullopt;
    const bool written = favorites && items && WriteFavorites(*favorites, *items);
    Tell(written ? "Your IE Favorites have been imported successfully"
                 : "Error:Your IE Favorites have not been imported");
}

}  // namespace cleanup::backup

namespace {

using namespace cleanup::backup;

// A favourites or typed-address file that is copied whole to and from the
// chosen file, with the message of each outcome.
struct CopiedFile {
    const char* name;
    const char* backedUp;
    const char* notBackedUp;
    const char* restored;
    const char* notRestored;
};

constexpr CopiedFile kOperaFavorites = {
    "opera6.adr",
    "Opera Favorites were exported succefully",
    "Error:Opera Favorites were not exported succefully",
    "Opera Favorites were imported succefully",
    "Error:Opera Favorites were not imported succefully",
};
constexpr CopiedFile kNetscapeFavorites = {
    "bookmarks.html",
    "Netscape Favorites were exported succefully",
    "Error:Netscape Favorites were not exported succefully",
    "Netscape Favorites were imported succefully",
    "Error:Netscape Favorites were not imported succefully",
};
constexpr CopiedFile kNetscapeTypedUrls = {
    "localstore.rdf",
    "Netscape Typed URLs were exported succefully",
    "Error:Netscape Typed URLs were not exported succefully",
    "Netscape Typed URLs were imported succefully",
    "Error:Netscape Typed URLs were not imported succefully",
};

void CopyStep(Direction direction, const CopiedFile& copied,
              const std::optional<std::filesystem::path>& browserFile) {
    const bool backup = direction == Direction::Backup;
    if (!browserFile) {
        Tell(backup ? copied.notBackedUp : copied.notRestored);
        return;
    }
    const auto chosen = AskFile(direction);
    if (!chosen) return;
    const bool copiedOk = backup ? platform::CopyFileNoFollow(*browserFile, *chosen)
                                 : platform::CopyFileAtomic(*chosen, *browserFile);
    if (backup)
        Tell(copiedOk ? copied.backedUp : copied.notBackedUp);
    else
        Tell(copiedOk ? copied.restored : copied.notRestored);
}

void OperaCopyStep(Direction direction, const CopiedFile& copied) {
    const auto folder = OperaFolder();
    CopyStep(direction, copied, folder ? OperaFile(*folder, copied.name) : std::nullopt);
}

// Netscape has nothing to do without a profile folder.
void NetscapeCopyStep(Direction direction, const CopiedFile& copied, const std::string& profile) {
    if (profile.empty()) return;
    CopyStep(direction, copied, platform::JoinBelowRoot(profile, copied.name));
}

void RunSteps(CTraceSweeper& sweeper, Direction direction, BACKUP_RESTORE_ITEMS item,
              unsigned long browsers) {
    sweeper.SetFlags(0, browsers);
    const bool backup = direction == Direction::Backup;
    if (item == BRI_FAVORITES) {
        if (sweeper.mIE) backup ? BackupIEFavorites() : RestoreIEFavorites();
        if (sweeper.mOpera) OperaCopyStep(direction, kOperaFavorites);
        if (sweeper.mNetscape)
            NetscapeCopyStep(direction, kNetscapeFavorites, sweeper.GetNetscapePath());
    } else if (item == BRI_TYPED_URLS) {
        if (sweeper.mIE) backup ? BackupIETypedUrls() : RestoreIETypedUrls();
        if (sweeper.mOpera) backup ? BackupOperaTypedUrls() : RestoreOperaTypedUrls();
        if (sweeper.mNetscape)
            NetscapeCopyStep(direction, kNetscapeTypedUrls, sweeper.GetNetscapePath());
    }
}

}  // namespace

void CTraceSweeper::BackupItems(BACKUP_RESTORE_ITEMS item, unsigned long browsers) {
    RunSteps(*this, Direction::Backup, item, browsers);
}

void CTraceSweeper::RestoreItems(BACKUP_RESTORE_ITEMS item, unsigned long browsers) {
    RunSteps(*this, Direction::Restore, item, browsers);
}
