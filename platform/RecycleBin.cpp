#include "platform/RecycleBin.h"

#include "platform/FileOps.h"
#include "platform/NoCasePath.h"
#include "platform/Root.h"

namespace platform {

std::filesystem::path RecycleBinFolder() { return ProfileFolder() / "RECYCLER"; }

HRESULT SHEmptyRecycleBin(std::string_view rootPath, DWORD) {
    if (!rootPath.empty()) {
        const auto mapped = MapWindowsPath(rootPath);
        if (!mapped || *mapped != ProfileFolder()) return E_FAIL;
    }
    if (GetFileAttributes(RecycleBinFolder()) == INVALID_FILE_ATTRIBUTES) return S_OK;
    return EmptyFolderTree(RecycleBinFolder()) ? S_OK : E_FAIL;
}

}  // namespace platform
