#include "cleanup/CFileManip.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/FileFind.h"
#include "platform/FileOps.h"
#include "platform/Root.h"
#include "platform/ShFileOperation.h"

namespace {

constexpr platform::DWORD kOnlyFoldersError = 0x10000000;
constexpr platform::DWORD kErrorFilenameTooLong = 206;
constexpr platform::WORD kSilent = platform::FOF_NOCONFIRMATION | platform::FOF_NOCONFIRMMKDIR;
constexpr platform::WORD kFilesOnly = platform::FOF_FILESONLY;
constexpr platform::WORD kFilesOnlySilent = kFilesOnly | kSilent;

bool Acceptable(const std::string& path) {
    if (path.empty() || path.size() > static_cast<std::size_t>(platform::MAX_PATH)) {
        platform::SetLastError(kErrorFilenameTooLong);
        return false;
    }
    if (!platform::ResolvesInsideRoot(path)) {
        platform::SetLastError(static_cast<platform::DWORD>(platform::ERROR_ACCESS_DENIED));
        return false;
    }
    return true;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

int Shell(platform::UINT function, const std::string& source, const std::string& target,
          platform::WORD flags) {
    if (!Acceptable(source) || (function != platform::FO_DELETE && !Acceptable(target))) return 0;
    platform::ShFileOpStruct op;
    op.wFunc = function;
    op.pFrom = {source};
    op.pTo = target;
    op.fFlags = flags;
    return platform::SHFileOperation(op) == 0 ? 1 : 0;
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
    return path;
}

bool SameOrInside(const std::string& tree, const std::string& path) {
    const std::string top = WithoutTrailingSeparators(tree);
    if (top.size() == path.size()) {
        for (std::size_t i = 0; i < top.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(top[i])) !=
                std::toupper(static_cast<unsigned char>(path[i])))
                return false;
        return true;
    }
    return CFileManip::IsParentDirectory(top, path) == 1;
}

// Leaves the tree about to be deleted or moved, so the process does not
// stand in it; a current folder elsewhere stays where it is.
void StepOutOf(const std::string& tree) {
    std::string current = platform::GetCurrentDirectory();
    while (!current.empty() && SameOrInside(tree, current)) {
        if (!CFileManip::CdDotDot(nullptr)) break;
        current = platform::GetCurrentDirectory();
    }
}

// Paths named from the current folder are fixed before the current folder
// moves, so that they still name what the caller meant.
std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : WithoutTrailingSeparators(absolute.lexically_normal().string());
}

// The root, its registry/ and program/ folders are refused before the
// current folder moves: a refused call changes nothing at all.
bool Removable(const std::string& path) {
    if (!Acceptable(path)) return false;
    if (platform::IsProtectedPath(path)) {
        platform::SetLastError(static_cast<platform::DWORD>(platform::ERROR_ACCESS_DENIED));
        return false;
    }
    return true;
}

}  // namespace

int CFileManip::MkDir(const std::string& path) {
    return Acceptable(path) && platform::CreateDirectory(path) ? 1 : 0;
}

int CFileManip::RmDir(const std::string& path) {
    return Acceptable(path) && platform::RemoveDirectory(path) ? 1 : 0;
}

int CFileManip::SetAttribute(const std::string& path, unsigned long attributes) {
    return Acceptable(path) &&
                   platform::SetFileAttributes(path, static_cast<platform::DWORD>(attributes))
               ? 1
               : 0;
}

unsigned long CFileManip::GetAttribute(const std::string& path) {
    if (!Acceptable(path)) return platform::INVALID_FILE_ATTRIBUTES;
    return platform::GetFileAttributes(path);
}

int CFileManip::Existence(const std::string& pattern) {
    if (!Acceptable(pattern)) return 0;
    const std::filesystem::path path(pattern);
    const auto found = platform::FindFiles(path.parent_path(), path.filename().string());
    if (found.empty()) return 0;
    for (const platform::FindData& entry : found)
        if (!entry.IsDirectory()) return 2;
    return 1;
}

int CFileManip::IsParentDirectory(const std::string& folder, const std::string& path) {
    if (folder.size() + 1 >= path.size()) return 0;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(folder[i])) !=
            std::toupper(static_cast<unsigned char>(path[i])))
            return 0;
    }
    return IsSeparator(path[folder.size()]) ? 1 : 0;
}

char CFileManip::IsRoot(const std::string& path) {
    if (path.size() != 2 && path.size() != 3) return 0;
    if (!std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':') return 0;
    if (path.size() == 3 && path[2] != '\\') return 0;
    return path[0];
}

int CFileManip::XCopy(const std::string& source, const std::string& target, int flag) {
    return Shell(platform::FO_COPY, source, target, flag ? kSilent : 0);
}

int CFileManip::Copy(const std::string& source, const std::string& target, int flag) {
    if (Existence(source) == 1) {
        platform::SetLastError(kOnlyFoldersError);
        return 0;
    }
    return Shell(platform::FO_COPY, source, target, flag ? kFilesOnlySilent : kFilesOnly);
}

int CFileManip::Del(const std::string& path, int flag) {
    if (Existence(path) == 1) {
        platform::SetLastError(kOnlyFoldersError);
        return 0;
    }
    return Shell(platform::FO_DELETE, path, std::string(), flag ? kFilesOnlySilent : kFilesOnly);
}

int CFileManip::Ren(const std::string& source, const std::string& target, int flag) {
    if (Existence(source) == 1) {
        platform::SetLastError(kOnlyFoldersError);
        return 0;
    }
    return Shell(platform::FO_RENAME, source, target, flag ? kFilesOnlySilent : kFilesOnly);
}

int CFileManip::Move(const std::string& source, const std::string& target, int flag) {
    if (!Removable(source)) return 0;
    const std::string from = Absolute(source), to = Absolute(target);
    StepOutOf(from);
    return Shell(platform::FO_MOVE, from, to, flag ? kSilent : 0);
}

int CFileManip::DelTree(const std::string& path, int flag) {
    if (!Removable(path)) return 0;
    const std::string tree = Absolute(path);
    StepOutOf(tree);
    return Shell(platform::FO_DELETE, tree, std::string(), flag ? kSilent : 0);
}

int CFileManip::CdDotDot(std::string* out) {
    const std::string current = platform::GetCurrentDirectory();
    if (current.empty() || current == "/" || IsRoot(current)) return 0;
    const auto cut = current.find_last_of('/');
    if (cut == std::string::npos) {
        if (out) *out = current;
        return 0;
    }
    const std::string above = current.substr(0, cut);
    if (out) *out = above;
    if (above.empty() || IsRoot(above)) return 0;
    return platform::SetCurrentDirectory(above) ? 1 : 0;
}

int CFileManip::CopyFolder(const std::string& source, const std::string& target) {
    if (!Acceptable(source) || !Acceptable(target)) return 0;
    const auto found = platform::FindFiles(source, "*.*");
    if (found.empty()) return 0;
    if (!found.front().IsDirectory()) return 2;
    int existing = 0;
    for (std::size_t i = 1; i < found.size(); ++i) {
        const platform::FindData& entry = found[i];
        if (entry.IsDirectory()) continue;
        if (Existence(target + "/" + entry.name) != 0) {
            if (++existing > 3) break;
            continue;
        }
        Copy(source + entry.name, target, 1);
    }
    return 1;
}
