#pragma once
// File and folder operations shared by the cleaners and the setup wizard:
// plain calls and the shell's file operation. Paths are native ("/"
// separated) and must lie inside the per-user root; a path longer than
// MAX_PATH bytes or leaving the root is refused (result 0), never cut, and
// so is a path reached through a link. Deleting, moving and renaming never
// act on the root itself, its registry/ or program/ folder or what they
// hold (the setup wizard hands user-typed folders to DelTree).

#include <string>

class CFileManip {
public:
    CFileManip() = default;
    CFileManip(const CFileManip&) = default;
    CFileManip& operator=(const CFileManip&) { return *this; }

    static int MkDir(const std::string& path);
    static int RmDir(const std::string& path);
    static int SetAttribute(const std::string& path, unsigned long attributes);
    static unsigned long GetAttribute(const std::string& path);
    // 0 nothing matches; 1 only folders match; 2 at least one file matches.
    static int Existence(const std::string& pattern);
    // 1 when folder is a proper ancestor of path.
    static int IsParentDirectory(const std::string& folder, const std::string& path);
    // The drive letter when path is a drive root ("c:", "C:\"), else 0.
    static char IsRoot(const std::string& path);
    static int XCopy(const std::string& source, const std::string& target, int flag);
    static int Copy(const std::string& source, const std::string& target, int flag);
    static int Del(const std::string& path, int flag);
    static int Ren(const std::string& source, const std::string& target, int flag);
    static int Move(const std::string& source, const std::string& target, int flag);
    static int DelTree(const std::string& path, int flag);
    // Moves the current folder one level up; out (may be null) receives
    // the folder above.
    static int CdDotDot(std::string* out);
    // Copies the files of one folder level; source ends with "/".
    int CopyFolder(const std::string& source, const std::string& target);
};
