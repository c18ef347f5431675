#include "platform/FileFind.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace platform {
namespace {

char Fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Without case first; names that differ only in case keep a fixed order.
bool LessNoCase(const std::string& a, const std::string& b) {
    const auto folded = [](char x, char y) { return Fold(x) < Fold(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

// Iterative matcher with single-star backtracking: linear in practice and
// never recursive, whatever the pattern.
bool MatchNoCase(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

FindData Describe(const std::filesystem::path& folder, const std::string& name) {
    FindData data;
    data.name = name;
    struct stat st {};
    if (::lstat((folder / name).c_str(), &st) != 0) {
        data.attributes = FILE_ATTRIBUTE_NORMAL;
        return data;
    }
    if (S_ISLNK(st.st_mode)) data.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (S_ISDIR(st.st_mode)) data.attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((st.st_mode & S_IWUSR) == 0) data.attributes |= FILE_ATTRIBUTE_READONLY;
    if (name.size() > 1 && name[0] == '.' && name != "..") data.attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (data.attributes == 0) data.attributes = FILE_ATTRIBUTE_NORMAL;
    if (S_ISREG(st.st_mode)) data.size = static_cast<std::uint64_t>(st.st_size);
    data.lastWrite = st.st_mtime;
    return data;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (MatchNoCase(pattern, name)) return true;
    // "name.*" also takes a name without an extension, as on Windows.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos) {
        return MatchNoCase(pattern.substr(0, pattern.size() - 2), name);
    }
    return false;
}

std::vector<FindData> FindFiles(const std::filesystem::path& folder, std::string_view pattern) {
    std::vector<FindData> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return found;

    std::vector<std::string> names;
    bool dot = false, dotDot = false;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == ".") {
            dot = true;
        } else if (name == "..") {
            dotDot = true;
        } else if (WildcardMatch(pattern, name)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), LessNoCase);

    if (dot && WildcardMatch(pattern, ".")) found.push_back(Describe(folder, "."));
    if (dotDot && WildcardMatch(pattern, "..")) found.push_back(Describe(folder, ".."));
    for (const std::string& name : names) found.push_back(Describe(folder, name));
    return found;
}

}  // namespace platform
