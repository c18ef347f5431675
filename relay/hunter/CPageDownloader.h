#pragma once
// Fetches one page for the hunter (libcurl). The transfer gives up when no
// new data arrives within the stall limit and when the page grows past the
// size cap; redirects may only lead to http, https or ftp.

#include <cstddef>
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
        // New bytes arrived.
        std::function<void()> onData;
        // Polled during the transfer (at least once a second); true ends it.
        std::function<bool()> shouldAbort;
    };

    explicit CPageDownloader(Limits limits = {}) : m_Limits(limits) {}

    // Whether url may be fetched: http, https and ftp always; file (or a
    // plain absolute path) only with allowFile.
    static bool IsAllowedAddress(const std::string& url, bool allowFile);
    static std::string HostOf(const std::string& url);

    // True with the whole page in text when the transfer completed.
    bool Fetch(const std::string& url, bool allowFile, std::string& text, const Callbacks& callbacks);

private:
    Limits m_Limits;
};
