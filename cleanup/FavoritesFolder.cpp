#include "cleanup/FavoritesFolder.h"

#include <set>
#include <string>
#include <string_view>

#include "platform/FileFind.h"
#include "platform/FileOps.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"

namespace cleanup {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kShortcutSuffix = ".url";
constexpr std::size_t kMaxNameBytes = 200;

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = name[name.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != suffix[i]) return false;
    }
    return true;
}

void ReadInto(const fs::path& folder, std::vector<BookmarkItem>& items, std::size_t depth) {
    for (const platform::FindData& entry : platform::FindFiles(folder, "*.*")) {
        if (entry.IsDots() || entry.IsLink()) continue;
        if (entry.IsDirectory()) {
            if (depth + 1 >= kMaxBookmarkDepth) continue;
            BookmarkItem sub{entry.name, {}, {}};
            ReadInto(folder / entry.name, sub.children, depth + 1);
            items.push_back(std::move(sub));
        } else if (EndsWithNoCase(entry.name, kShortcutSuffix)) {
            const std::string url =
                platform::GetPrivateProfileString("InternetShortcut", "URL", "", folder / entry.name);
            if (url.empty()) continue;
            items.push_back(BookmarkItem{entry.name.substr(0, entry.name.size() - kShortcutSuffix.size()), url, {}});
        }
    }
}

// A title as a file name: no separators, none of the characters a Windows
// name may not hold, no control characters, no leading or trailing dots
// and blanks, at most kMaxNameBytes bytes (never cut inside a UTF-8
// character).
std::string FileNameOf(std::string_view title) {
    std::string name;
    for (const char c : title) {
        const bool refused = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
                             std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        name += refused ? '_' : c;
    }
    const auto first = name.find_first_not_of(". ");
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(". ") - first + 1);
    if (name.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return name.empty() ? "Untitled" : name;
}

// The name for the next item of a list: one not taken by an item before it.
std::string UniqueName(const std::string& wanted, std::set<std::string>& taken) {
    std::string name = wanted;
    for (int n = 2; !taken.insert(name).second; ++n) name = wanted + " (" + std::to_string(n) + ")";
    return name;
}

// An address fits on its line of the shortcut file only without line breaks.
std::string OneLine(std::string_view url) {
    std::string line;
    for (const char c : url)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) line += c;
    return line;
}

bool WriteInto(const fs::path& folder, const std::vector<BookmarkItem>& items, std::size_t depth) {
    bool ok = true;
    std::set<std::string> folders, shortcuts;
    for (const BookmarkItem& item : items) {
        if (item.IsFolder()) {
            if (depth + 1 >= kMaxBookmarkDepth) continue;
            const fs::path sub = folder / UniqueName(FileNameOf(item.title), folders);
            const platform::DWORD attributes = platform::GetFileAttributes(sub);
            const bool isFolder = attributes != platform::INVALID_FILE_ATTRIBUTES &&
                                  (attributes & platform::FILE_ATTRIBUTE_DIRECTORY);
            if (!isFolder && !platform::CreateDirectory(sub)) {
                ok = false;
                continue;
            }
            ok = WriteInto(sub, item.children, depth + 1) && ok;
            continue;
        }
        const fs::path file = folder / (UniqueName(FileNameOf(item.title), shortcuts) + std::string(kShortcutSuffix));
        // A link in the shortcut's place is not the user's shortcut.
        const platform::DWORD attributes = platform::GetFileAttributes(file);
        const bool isLink = attributes != platform::INVALID_FILE_ATTRIBUTES &&
                            (attributes & platform::FILE_ATTRIBUTE_REPARSE_POINT);
        ok = !isLink && platform::ResolvesInsideRoot(file) &&
             platform::WriteFileAtomic(file, "[InternetShortcut]\r\nURL=" + OneLine(item.url) + "\r\n") && ok;
    }
    return ok;
}

}  // namespace

std::vector<BookmarkItem> ReadFavorites(const fs::path& folder) {
    std::vector<BookmarkItem> items;
    ReadInto(folder, items, 0);
    return items;
}

bool WriteFavorites(const fs::path& folder, const std::vector<BookmarkItem>& items) {
    return WriteInto(folder, items, 0);
}

}  // namespace cleanup
