#pragma once
// One download of the hunter's download thread, as a URL moniker binds it:
// through the system browser's URL cache (a copy the server confirms is
// used instead of the page; a page the server dates is kept for the next
// time), with each step of the transfer reported to the hunter's bridge as
// a status line.

#include <functional>
#include <string>

#include "relay/hunter/CPageDownloader.h"

class CProxyConfig;

class CUrlDownloadMoniker {
public:
    // bridge: where the status lines go; onData: told whenever data begins
    // or goes on arriving.
    CUrlDownloadMoniker(CProxyConfig& bridge, std::function<void()> onData);

    // Downloads url into text; true when the whole page is there. allowFile:
    // a local file may be named.
    bool Open(const std::string& url, bool allowFile, const PageLimits& limits,
              const std::function<bool()>& shouldAbort, std::string& text);

    // The binding's notices.
    // A progress report by status code (eBindStatus): each step has its
    // line, data only keeps the download alive, an unknown code says so.
    void OnProgress(unsigned long statusCode);
    void OnLowResource();
    void OnStopBinding(bool success);

    // Whether a download of url goes through the URL cache (web and ftp
    // addresses do, local files do not).
    static bool UsesCache(const std::string& url);

private:
    CProxyConfig& m_Bridge;
    std::function<void()> m_OnData;
};
