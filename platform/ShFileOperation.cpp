#include "platform/ShFileOperation.h"

#include <system_error>

#include "platform/FileFind.h"
#include "platform/FileOps.h"
#include "platform/Root.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// The items a source names: itself, or the matches of a wildcard in its
// last component ("." and ".." never; folders dropped with files-only).
std::vector<fs::path> Expand(const std::string& source, bool filesOnly) {
    const fs::path path(source);
    const std::string leaf = path.filename().string();
    std::vector<fs::path> items;
    if (!HasWildcard(leaf)) {
        if (GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES) items.push_back(path);
        return items;
    }
    for (const FindData& found : FindFiles(path.parent_path(), leaf)) {
        if (found.IsDots() || (filesOnly && found.IsDirectory())) continue;
        items.push_back(path.parent_path() / found.name);
    }
    return items;
}

bool IsFolder(const fs::path& path) {
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyItem(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const auto options = fs::copy_options::recursive | fs::copy_options::copy_symlinks |
                         fs::copy_options::overwrite_existing;
    const fs::path target = IsFolder(to) ? to / from.filename() : to;
    fs::copy(from, target, options, ec);
    return !ec;
}

bool MoveItem(const fs::path& from, const fs::path& to, bool intoFolder) {
    std::error_code ec;
    const fs::path target = intoFolder && IsFolder(to) ? to / from.filename() : to;
    fs::rename(from, target, ec);
    return !ec;
}

}  // namespace

int SHFileOperation(const ShFileOpStruct& op) {
    const bool filesOnly = (op.fFlags & FOF_FILESONLY) != 0;
    const bool needsTarget = op.wFunc != FO_DELETE;
    if (op.pFrom.empty() || (needsTarget && (op.pTo.empty() || !ResolvesInsideRoot(op.pTo))))
        return DE_INVALIDFILES;
    std::vector<fs::path> items;
    for (const std::string& source : op.pFrom) {
        if (source.empty() || !ResolvesInsideRoot(source)) return DE_INVALIDFILES;
        const auto expanded = Expand(source, filesOnly);
        if (expanded.empty()) return DE_INVALIDFILES;
        items.insert(items.end(), expanded.begin(), expanded.end());
    }
    // Moving the settings or the engine's files away loses them as surely
    // as deleting them; such an operation does nothing at all.
    const bool removesSources = op.wFunc != FO_COPY;
    for (const fs::path& item : items)
        if (removesSources && IsProtectedPath(item)) return DE_ACCESSDENIED;
    bool ok = true;
    for (const fs::path& item : items) {
        switch (op.wFunc) {
            case FO_DELETE:
                ok = RemoveTree(item) && ok;
                break;
            case FO_COPY:
                ok = CopyItem(item, op.pTo) && ok;
                break;
            case FO_MOVE:
                ok = MoveItem(item, op.pTo, true) && ok;
                break;
            case FO_RENAME:
                ok = MoveItem(item, op.pTo, false) && ok;
                break;
            default:
                return DE_INVALIDFILES;
        }
    }
    return ok ? 0 : DE_ACCESSDENIED;
}

}  // namespace platform
