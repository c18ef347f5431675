#include "relay/hunter/CUrlDownloadMoniker.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/SafeFile.h"
#include "platform/UrlCache.h"
#include "relay/analyzer/CProxyConfig.h"
#include "relay/hunter/eBindStatus.h"

namespace {

constexpr const char* kUnknownStatus = "Unknown binding status code!\r";

struct StatusLine {
    unsigned long code;
    const char* text;
};

constexpr StatusLine kStatusLines[] = {
    {BINDSTATUS_FINDINGRESOURCE, "Finding resource...\r"},
    {BINDSTATUS_CONNECTING, "Connecting...\r"},
    {BINDSTATUS_REDIRECTING, "Server redirecting client...\r"},
    {BINDSTATUS_ENDDOWNLOADDATA, "Ending data download...\r"},
    {BINDSTATUS_USINGCACHEDCOPY, "Using cached copy...\r"},
    {BINDSTATUS_SENDINGREQUEST, "Sending request...\r"},
    {BINDSTATUS_DIRECTBIND, kUnknownStatus},
};

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The cached copy as the page, when it is still a page the hunter takes.
bool ReadCopy(const std::filesystem::path& file, std::size_t maxBytes, std::string& text) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > maxBytes) return false;
    std::optional<std::string> bytes = platform::ReadWholeFile(file);
    if (!bytes) return false;
    text = std::move(*bytes);
    return true;
}

}  // namespace

CUrlDownloadMoniker::CUrlDownloadMoniker(CProxyConfig& bridge, std::function<void()> onData)
    : m_Bridge(bridge), m_OnData(std::move(onData)) {}

bool CUrlDownloadMoniker::UsesCache(const std::string& url) {
    return BeginsWith(url, "http://") || BeginsWith(url, "https://") || BeginsWith(url, "ftp://");
}

bool CUrlDownloadMoniker::Open(const std::string& url, bool allowFile, const PageLimits& limits,
                               const std::function<bool()>& shouldAbort, std::string& text) {
    const bool cached = UsesCache(url);
    const std::optional<platform::UrlCacheFile> copy =
        cached ? platform::RetrieveUrlCacheEntryFile(url) : std::nullopt;
    CPageDownloader::Callbacks callbacks;
    callbacks.onStatus = [this](unsigned long code) { OnProgress(code); };
    callbacks.shouldAbort = shouldAbort;
    const CPageDownloader::Result result =
        CPageDownloader(limits).Fetch(url, allowFile, copy ? copy->modified : 0, text, callbacks);
    if (result.lowResources) OnLowResource();

    bool success = result.complete;
    if (success && result.notModified) {
        OnProgress(BINDSTATUS_USINGCACHEDCOPY);
        success = copy && ReadCopy(copy->path, limits.maxBytes, text);
    } else if (success && cached && result.modified >= 0) {
        // Only a dated page can be confirmed later.
        platform::StoreUrlCacheEntry(url, text, result.modified);
    }
    if (success) OnProgress(BINDSTATUS_ENDDOWNLOADDATA);
    if (!success) text.clear();
    OnStopBinding(success);
    return success;
}

void CUrlDownloadMoniker::OnProgress(unsigned long statusCode) {
    if (statusCode == BINDSTATUS_BEGINDOWNLOADDATA || statusCode == BINDSTATUS_DOWNLOADINGDATA) {
        if (m_OnData) m_OnData();
        return;
    }
    if (statusCode < BINDSTATUS_FINDINGRESOURCE || statusCode > BINDSTATUS_LAST) {
        m_Bridge.AddToLog(kUnknownStatus);
        return;
    }
    for (const StatusLine& line : kStatusLines) {
        if (line.code == statusCode) m_Bridge.AddToLog(line.text);
    }
}

void CUrlDownloadMoniker::OnLowResource() { m_Bridge.AddToLog("Low resources.\r"); }

void CUrlDownloadMoniker::OnStopBinding(bool success) {
    m_Bridge.AddToLog(success ? "File download complete.\r" : "File download Failed.\r");
}
