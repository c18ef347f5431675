#pragma once
// The system browser's favourites as they lie in the Favorites folder: each
// bookmark an Internet shortcut file ("<title>.url", an INI file whose
// [InternetShortcut] section holds URL=), each sub-folder a bookmark
// folder. Read into bookmark items for an export, and written from them on
// import.

#include <filesystem>
#include <vector>

#include "cleanup/BookmarkFile.h"

namespace cleanup {

// The shortcuts and folders below folder, in name order; links and files
// other than shortcuts are left out, and so are folders deeper than
// kMaxBookmarkDepth.
std::vector<BookmarkItem> ReadFavorites(const std::filesystem::path& folder);

// Adds the items to folder: a sub-folder for each bookmark folder (one
// already there is added to), a shortcut for each bookmark (one of the same
// name is replaced; two bookmarks of one name in a list get "(2)", "(3)").
// Titles become file names that hold no separator and no character Windows
// refuses in a name. False when something could not be written; what could
// be is written all the same.
bool WriteFavorites(const std::filesystem::path& folder, const std::vector<BookmarkItem>& items);

}  // namespace cleanup
