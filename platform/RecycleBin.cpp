#include "platform/RecycleBin.h"

#include <cstdlib>

#include "platform/FileOps.h"
#include "platform/NoCasePath.h"
#include "platform/Root.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// Empties base/below when it is there; a bin that does not exist is empty.
bool EmptyBinFolder(const fs::path& base, const fs::path& below) {
    if (GetFileAttributes(base / below) == INVALID_FILE_ATTRIBUTES) return true;
    return EmptyFolderInside(base, below);
}

}  // namespace

fs::path RecycleBinFolder() { return ProfileFolder() / "RECYCLER"; }

std::optional<fs::path> TrashFolder() {
    // A relative XDG_DATA_HOME is not valid and is ignored, as the desktop does.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return fs::path(data) / "Trash";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return fs::path(home) / ".local/share/Trash";
    return std::nullopt;
}

HRESULT SHEmptyRecycleBin(std::string_view rootPath, DWORD) {
    if (!rootPath.empty()) {
        const auto mapped = MapWindowsPath(rootPath);
        if (!mapped || *mapped != ProfileFolder()) return E_FAIL;
    }
    bool ok = GetFileAttributes(RecycleBinFolder()) == INVALID_FILE_ATTRIBUTES ||
              EmptyFolderTree(RecycleBinFolder());
    if (const auto trash = TrashFolder()) {
        // The data folder is the user's own, taken as named; "Trash" and
        // its two folders must be real folders.
        const fs::path data = trash->parent_path();
        ok = EmptyBinFolder(data, "Trash/files") && ok;
        ok = EmptyBinFolder(data, "Trash/info") && ok;
    }
    return ok ? S_OK : E_FAIL;
}

}  // namespace platform
