#include "cleanup/CCleanIE.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "platform/FileOps.h"
#include "platform/Root.h"
#include "platform/UrlCache.h"

namespace {

// The start of a cache index is its header, which is kept as it was.
constexpr std::uint64_t kKeptHead = 64;
constexpr std::size_t kWipeChunk = 10000;

bool IsCacheIndex(std::string_view name) {
    constexpr std::string_view index = "index.dat";
    return name.size() == index.size() &&
           std::equal(name.begin(), name.end(), index.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

int CCleanIE::WipeFile(const std::string& folder, const std::string& name) {
    const auto file = platform::JoinBelowRoot(folder, name);
    if (!file || !platform::ResolvesInsideRoot(*file)) return 0;
    return platform::OverwriteFileTail(*file, kKeptHead, kWipeChunk) ? 1 : 0;
}

int CCleanIE::EmptyDirectory(const std::string& folder) {
    if (!platform::ResolvesInsideRoot(folder)) return 0;
    return platform::EmptyFolderTree(folder, IsCacheIndex, kKeptHead, kWipeChunk) ? 1 : 0;
}

// The walk picks the entries; they are deleted together once it is over.
bool CCleanIE::DeleteUrlCache(DEL_CACHE_TYPE type) {
    platform::UrlCacheFind find;
    platform::UrlCacheEntry entry;
    if (!find.First(entry)) return false;
    std::vector<std::string> chosen;
    do {
        const bool remove =
            (type == DCT_TEMP_FILES && (entry.entryType & platform::COOKIE_CACHE_ENTRY) == 0) ||
            (type == DCT_COOKIES && entry.entryType != 0);
        if (remove) chosen.push_back(entry.sourceUrl);
    } while (find.Next(entry));
    platform::DeleteUrlCacheEntries(chosen);
    return true;
}
