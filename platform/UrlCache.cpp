#include "platform/UrlCache.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

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

bool WriteIndex(UrlCacheContainer container, const std::vector<UrlCacheEntry>& entries) {
    std::string text;
    for (const UrlCacheEntry& entry : entries) {
        char type[16];
        std::snprintf(type, sizeof type, "%08X", static_cast<unsigned>(entry.entryType));
        text += std::string(type) + '\t' + entry.sourceUrl + '\t' + entry.localFile + '\n';
    }
    std::error_code ec;
    fs::create_directories(ContainerFolder(container), ec);
    return WriteFileAtomic(IndexFile(container), text);
}

void RemoveLocalFile(UrlCacheContainer container, const UrlCacheEntry& entry) {
    if (entry.localFile.empty()) return;
    if (const auto file = JoinBelowRoot(ContainerFolder(container), entry.localFile))
        DeleteFile(*file);
}

}  // namespace

std::vector<UrlCacheEntry> ReadUrlCacheIndex(UrlCacheContainer container) {
    std::vector<UrlCacheEntry> entries;
    const auto text = ReadWholeFile(IndexFile(container));
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
    for (const auto container : {UrlCacheContainer::Content, UrlCacheContainer::Cookies}) {
        auto entries = ReadUrlCacheIndex(container);
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (it->sourceUrl != sourceUrl) continue;
            const UrlCacheEntry gone = *it;
            entries.erase(it);
            if (!WriteIndex(container, entries)) return false;
            RemoveLocalFile(container, gone);
            return true;
        }
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
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

bool ClearUrlHistory() {
    const auto entries = ReadUrlCacheIndex(UrlCacheContainer::History);
    if (!entries.empty() && !WriteIndex(UrlCacheContainer::History, {})) return false;
    for (const UrlCacheEntry& entry : entries) RemoveLocalFile(UrlCacheContainer::History, entry);
    return true;
}

}  // namespace platform
