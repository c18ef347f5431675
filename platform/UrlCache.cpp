#include "platform/UrlCache.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <unordered_map>

#include "platform/FileFind.h"
#include "platform/FileOps.h"
#include "platform/Root.h"
#include "platform/SafeFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

fs::path ContainerFolder(UrlCacheContainer container) {
    switch (container) {
        case UrlCacheContainer::Content:
            return *ShellFolder(CSIDL_INTERNET_CACHE) / "Content.IE5";
        case UrlCacheContainer::Cookies:
            return *ShellFolder(CSIDL_COOKIES);
        case UrlCacheContainer::History:
            break;
    }
    return *ShellFolder(CSIDL_HISTORY) / "History.IE5";
}

fs::path IndexFile(UrlCacheContainer container) { return ContainerFolder(container) / "index.dat"; }

// An index reached through a link is not the browser's own: it is neither
// read nor written.
bool IsOwnIndex(const fs::path& index) {
    const DWORD attributes = GetFileAttributes(index);
    return ResolvesInsideRoot(index) &&
           (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0);
}

bool WriteIndex(UrlCacheContainer container, const std::vector<UrlCacheEntry>& entries) {
    std::string text;
    for (const UrlCacheEntry& entry : entries) {
        char type[16];
        std::snprintf(type, sizeof type, "%08X", static_cast<unsigned>(entry.entryType));
        text += std::string(type) + '\t' + entry.sourceUrl + '\t' + entry.localFile + '\n';
    }
    const fs::path index = IndexFile(container);
    return MakeFoldersBelowRoot(ContainerFolder(container)) && IsOwnIndex(index) &&
           WriteFileAtomic(index, text);
}

// An entry's local file below its container's folder, where the browser
// keeps it; nothing for a stored path that starts at "/" or climbs out
// with "..". DeleteFile then never goes through a link on the way.
std::optional<fs::path> LocalFilePath(UrlCacheContainer container, std::string_view stored) {
    if (stored.empty() || stored.front() == '/' || stored.front() == '\\') return std::nullopt;
    fs::path file = ContainerFolder(container);
    for (std::size_t begin = 0;;) {
        const std::size_t end = stored.find_first_of("/\\", begin);
        const std::string_view part = stored.substr(begin, end == std::string_view::npos ? end : end - begin);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") file /= part;
        if (end == std::string_view::npos) return file;
        begin = end + 1;
    }
}

// A file name without folders.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

// A relative path that stays inside its container folder.
bool IsBelowContainer(std::string_view localFile) {
    if (localFile.empty() || localFile.front() == '/' || localFile.front() == '\\') return false;
    std::size_t start = 0;
    while (start <= localFile.size()) {
        const std::size_t end = std::min(localFile.find_first_of("/\\", start), localFile.size());
        if (localFile.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

// The file name of a new copy of sourceUrl: a hash of the address, with a
// number that no other address's copy has.
std::string NewCopyName(std::string_view sourceUrl, const std::vector<UrlCacheEntry>& entries) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const unsigned char c : sourceUrl) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char base[17];
    std::snprintf(base, sizeof base, "%016llx", static_cast<unsigned long long>(hash));
    for (unsigned n = 1;; ++n) {
        const std::string name = std::string(base) + "[" + std::to_string(n) + "].htm";
        const bool taken = std::any_of(entries.begin(), entries.end(), [&](const UrlCacheEntry& entry) {
            return entry.localFile == name && entry.sourceUrl != sourceUrl;
        });
        if (!taken) return name;
    }
}

void RemoveLocalFile(UrlCacheContainer container, const UrlCacheEntry& entry) {
    if (const auto file = LocalFilePath(container, entry.localFile)) DeleteFile(*file);
}

}  // namespace

std::vector<UrlCacheEntry> ReadUrlCacheIndex(UrlCacheContainer container) {
    std::vector<UrlCacheEntry> entries;
    const fs::path index = IndexFile(container);
    if (!IsOwnIndex(index)) return entries;
    const auto text = ReadWholeFile(index);
    if (!text) return entries;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto tab1 = line.find('\t');
        const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;
        UrlCacheEntry entry;
        entry.entryType =
            static_cast<DWORD>(std::strtoul(line.substr(0, tab1).c_str(), nullptr, 16));
        entry.sourceUrl = line.substr(tab1 + 1, tab2 - tab1 - 1);
        entry.localFile = line.substr(tab2 + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool UrlCacheFind::First(UrlCacheEntry& entry) {
    entries_ = ReadUrlCacheIndex(UrlCacheContainer::Content);
    const auto cookies = ReadUrlCacheIndex(UrlCacheContainer::Cookies);
    entries_.insert(entries_.end(), cookies.begin(), cookies.end());
    next_ = 0;
    return Next(entry);
}

bool UrlCacheFind::Next(UrlCacheEntry& entry) {
    if (next_ >= entries_.size()) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return false;
    }
    entry = entries_[next_++];
    return true;
}

bool DeleteUrlCacheEntry(std::string_view sourceUrl) {
    return DeleteUrlCacheEntries({std::string(sourceUrl)});
}

bool DeleteUrlCacheEntries(const std::vector<std::string>& sourceUrls) {
    // How many more entries of each URL are to go; each index is read and
    // written once, however many entries leave it.
    std::unordered_map<std::string, std::size_t> pending;
    for (const std::string& url : sourceUrls) ++pending[url];
    std::size_t left = sourceUrls.size();
    bool written = true;
    for (const auto container : {UrlCacheContainer::Content, UrlCacheContainer::Cookies}) {
        if (left == 0) break;
        std::vector<UrlCacheEntry> kept, gone;
        for (UrlCacheEntry& entry : ReadUrlCacheIndex(container)) {
            const auto it = pending.find(entry.sourceUrl);
            if (it != pending.end() && it->second > 0) {
                --it->second;
                --left;
                gone.push_back(std::move(entry));
            } else {
                kept.push_back(std::move(entry));
            }
        }
        if (gone.empty()) continue;
        if (!WriteIndex(container, kept)) {
            written = false;
            continue;
        }
        for (const UrlCacheEntry& entry : gone) RemoveLocalFile(container, entry);
    }
    if (left > 0) SetLastError(ERROR_FILE_NOT_FOUND);
    return written && left == 0;
}

bool CommitUrlCacheEntry(UrlCacheContainer container, const UrlCacheEntry& entry) {
    auto entries = ReadUrlCacheIndex(container);
    bool replaced = false;
    for (UrlCacheEntry& existing : entries) {
        if (existing.sourceUrl == entry.sourceUrl) {
            existing = entry;
            replaced = true;
        }
    }
    if (!replaced) entries.push_back(entry);
    return WriteIndex(container, entries);
}

std::optional<UrlCacheFile> RetrieveUrlCacheEntryFile(std::string_view sourceUrl) {
    for (const UrlCacheEntry& entry : ReadUrlCacheIndex(UrlCacheContainer::Content)) {
        if (entry.sourceUrl != sourceUrl) continue;
        const auto file = JoinBelowRoot(ContainerFolder(UrlCacheContainer::Content), entry.localFile);
        std::error_code ec;
        if (!IsBelowContainer(entry.localFile) || !file || !fs::is_regular_file(fs::symlink_status(*file, ec))) break;
        const fs::file_time_type written = fs::last_write_time(*file, ec);
        if (ec) break;
        return UrlCacheFile{*file, std::chrono::system_clock::to_time_t(fs::file_time_type::clock::to_sys(written))};
    }
    return std::nullopt;
}

bool StoreUrlCacheEntry(std::string_view sourceUrl, std::string_view bytes, std::time_t modified) {
    if (sourceUrl.empty() || sourceUrl.find_first_of("\t\r\n") != std::string_view::npos) return false;
    const std::vector<UrlCacheEntry> entries = ReadUrlCacheIndex(UrlCacheContainer::Content);
    std::string name;
    for (const UrlCacheEntry& entry : entries) {
        // Only a copy of our own naming is written over.
        if (entry.sourceUrl == sourceUrl && IsPlainName(entry.localFile)) name = entry.localFile;
    }
    if (name.empty()) name = NewCopyName(sourceUrl, entries);
    const fs::path folder = ContainerFolder(UrlCacheContainer::Content);
    const auto file = JoinBelowRoot(folder, name);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!file || !WriteFileAtomic(*file, bytes)) return false;
    fs::last_write_time(*file, fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(modified)),
                        ec);
    if (ec || !CommitUrlCacheEntry(UrlCacheContainer::Content, {std::string(sourceUrl), NORMAL_CACHE_ENTRY, name})) {
        DeleteFile(*file);
        return false;
    }
    return true;
}

bool ClearUrlHistory() {
    const auto entries = ReadUrlCacheIndex(UrlCacheContainer::History);
    if (!entries.empty() && !WriteIndex(UrlCacheContainer::History, {})) return false;
    for (const UrlCacheEntry& entry : entries) RemoveLocalFile(UrlCacheContainer::History, entry);
    return true;
}

}  // namespace platform
