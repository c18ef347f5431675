#pragma once
// Fetches one page for the hunter (libcurl) and reports the transfer's
// steps as it goes: the name lookup, each connection, each request sent, a
// redirect, the data. The transfer gives up when no new data arrives within
// the stall limit and when the page grows past the size cap; redirects may
// only lead to http, https or ftp. Asked with the modification time of a
// copy the caller holds, the server may confirm that copy instead of
// sending the page.

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

// How long a transfer may go without new data, and how big a page may be.
struct PageLimits {
    long stallMs = 60000;
    std::size_t maxBytes = 4u * 1024u * 1024u;
};

class CPageDownloader {
public:
    using Limits = PageLimits;

    struct Callbacks {
        // A step of the transfer, as a binding status code (eBindStatus).
        std::function<void(unsigned long)> onStatus;
        // Polled during the transfer (at least once a second); true ends it.
        std::function<bool()> shouldAbort;
    };

    struct Result {
        // The transfer ended well.
        bool complete = false;
        // The server confirmed the caller's copy: no text came.
        bool notModified = false;
        // The page's text could not grow.
        bool lowResources = false;
        // When the resource was last modified, as the server said; -1 when
        // it did not say.
        std::time_t modified = -1;
    };

    explicit CPageDownloader(Limits limits = {}) : m_Limits(limits) {}

    // Whether url may be fetched: http, https and ftp always; file (or a
    // plain absolute path) only with allowFile.
    static bool IsAllowedAddress(const std::string& url, bool allowFile);
    static std::string HostOf(const std::string& url);

    // The whole page in text when the transfer completed with it.
    // ifModifiedSince: the modification time of the caller's copy, or 0 to
    // ask for the page unconditionally.
    Result Fetch(const std::string& url, bool allowFile, std::time_t ifModifiedSince, std::string& text,
                 const Callbacks& callbacks);

private:
    Limits m_Limits;
};
