#pragma once
// The system browser's URL cache (the WinINet cache entry calls). Each
// container keeps its entries in an "index.dat" text index in its folder,
// one entry a line: the entry type in hex, the source URL and the local
// file (relative to the container folder), separated by tabs.
//
//   content:  <Temporary Internet Files>/Content.IE5/index.dat
//   cookies:  <Cookies>/index.dat
//   history:  <History>/History.IE5/index.dat
//
// The entry walk covers the content and cookie containers, as the browser's
// walk over all entries does; the history container is reached only
// through the history store's clear.

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD NORMAL_CACHE_ENTRY = 0x00000001;
inline constexpr DWORD STICKY_CACHE_ENTRY = 0x00000004;
inline constexpr DWORD COOKIE_CACHE_ENTRY = 0x00100000;
inline constexpr DWORD URLHISTORY_CACHE_ENTRY = 0x00200000;

enum class UrlCacheContainer { Content, Cookies, History };

struct UrlCacheEntry {
    std::string sourceUrl;
    DWORD entryType = 0;
    std::string localFile;  // relative to the container folder; may be empty
};

// A walk over the cache entries (FindFirstUrlCacheEntry/FindNext...):
// First fails (ERROR_NO_MORE_ITEMS) when the cache is empty, Next when the
// walk is over.
class UrlCacheFind {
public:
    bool First(UrlCacheEntry& entry);
    bool Next(UrlCacheEntry& entry);

private:
    std::vector<UrlCacheEntry> entries_;
    std::size_t next_ = 0;
};

// DeleteUrlCacheEntry: removes the first entry with this source URL and its
// local file. False when no entry has it. A local file is only ever deleted
// inside its container's folder, never through a link.
bool DeleteUrlCacheEntry(std::string_view sourceUrl);

// DeleteUrlCacheEntry for each URL in turn (a URL named twice removes two
// entries), with each index rewritten once: the time grows with the number
// of entries, not with its square. False when some URL found no entry or an
// index could not be written.
bool DeleteUrlCacheEntries(const std::vector<std::string>& sourceUrls);

// CommitUrlCacheEntry: adds (or replaces) an entry in a container.
bool CommitUrlCacheEntry(UrlCacheContainer container, const UrlCacheEntry& entry);

// The local copy of a resource in the content container, and the time the
// resource was last modified (the copy's modification time).
struct UrlCacheFile {
    std::filesystem::path path;
    std::time_t modified = 0;
};

// RetrieveUrlCacheEntryFile: the copy kept for sourceUrl; nothing when the
// content container has no entry for it or the entry's file is gone.
std::optional<UrlCacheFile> RetrieveUrlCacheEntryFile(std::string_view sourceUrl);

// CreateUrlCacheEntry and CommitUrlCacheEntry in one: keeps bytes as the
// content container's copy of sourceUrl, last modified at modified, in
// place of an older copy. False when the address cannot name an entry (a
// tab or a line break in it) or the copy cannot be written.
bool StoreUrlCacheEntry(std::string_view sourceUrl, std::string_view bytes, std::time_t modified);

// IUrlHistoryStg2::ClearHistory: removes every entry of the history
// container with its local file.
bool ClearUrlHistory();

// All entries of one container, in index order.
std::vector<UrlCacheEntry> ReadUrlCacheIndex(UrlCacheContainer container);

}  // namespace platform
