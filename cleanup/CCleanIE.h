#pragma once
// The base of the system-browser cleaners: overwrite-then-delete of a
// folder's content and the walk over the browser's URL cache.

#include <string>

enum DEL_CACHE_TYPE : int { DCT_TEMP_FILES = 0, DCT_COOKIES = 1 };

class CCleanIE {
public:
    // Deletes everything inside folder; "index.dat" files are overwritten
    // first. The folder stays. 0 when it cannot be read.
    int EmptyDirectory(const std::string& folder);
    // Deletes URL cache entries of the given kind; false when the cache
    // holds no entry to walk.
    bool DeleteUrlCache(DEL_CACHE_TYPE type);

private:
    // The facade carries the same wipe as a public member of its own.
    friend class CTraceSweeper;
    // Zeroes folder/name from byte 64 on and flushes it; 0 when it cannot
    // be opened for writing (a link, no regular file).
    int WipeFile(const std::string& folder, const std::string& name);
};
