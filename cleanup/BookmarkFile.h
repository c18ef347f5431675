#pragma once
// The bookmark exchange file every browser reads and writes (the
// "NETSCAPE-Bookmark-file-1" HTML form): folders as <H3> headings each
// followed by a <DL> list, bookmarks as <A HREF> links. The system
// browser's favourites are exported to it and imported from it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cleanup {

// A bookmark (url set) or a folder of them (url empty).
struct BookmarkItem {
    std::string title;
    std::string url;
    std::vector<BookmarkItem> children;

    bool IsFolder() const { return url.empty(); }
    bool operator==(const BookmarkItem&) const = default;
};

// Folders nest at most this deep in either direction; deeper ones are
// left out of an export and flattened into the deepest one on import.
inline constexpr std::size_t kMaxBookmarkDepth = 64;

// The whole file for the items of the top level, UTF-8.
std::string WriteBookmarkHtml(const std::vector<BookmarkItem>& top);

// The items of the top level; nothing when the text is not a bookmark file
// (it lacks the file's document type). Bookmarks without an address are
// dropped; entities in titles and addresses are decoded.
std::optional<std::vector<BookmarkItem>> ReadBookmarkHtml(std::string_view html);

}  // namespace cleanup
