#include "relay/hunter/CPageDownloader.h"

#include "platform/Sockets.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

#include "relay/hunter/LowResources.h"
#include "relay/hunter/eBindStatus.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
    std::string* text;
    std::size_t maxBytes;
    long stallMs;
    const CPageDownloader::Callbacks* callbacks;
    Clock::time_point lastData;
    bool tooBig = false;
    bool lowResources = false;
    bool dataBegun = false;
    // The response whose header lines are arriving: its status, and whether
    // it names another address.
    long status = 0;
    bool location = false;

    void Report(unsigned long status) const {
        if (callbacks->onStatus) callbacks->onStatus(status);
    }
};

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool BeginsWithNoCase(const char* text, std::size_t length, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return length >= n && std::equal(prefix, prefix + n, text, [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::size_t OnWrite(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (t.text->size() + n > t.maxBytes) {
        t.tooBig = true;
        return 0;  // ends the transfer with a write error
    }
    try {
        ThrowIfLowResources();
        t.text->append(data, n);
    } catch (const std::bad_alloc&) {
        t.lowResources = true;
        return 0;
    }
    t.lastData = Clock::now();
    if (n) t.Report(std::exchange(t.dataBegun, true) ? BINDSTATUS_DOWNLOADINGDATA : BINDSTATUS_BEGINDOWNLOADDATA);
    return n;
}

// Header lines of every response, the redirects' included: a redirect is
// reported once its header is complete.
std::size_t OnHeader(char* line, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (BeginsWithNoCase(line, n, "HTTP/")) {
        const std::string text(line, n);
        const std::size_t space = text.find(' ');
        t.status = space == std::string::npos ? 0 : std::strtol(text.c_str() + space + 1, nullptr, 10);
        t.location = false;
    } else if (BeginsWithNoCase(line, n, "Location:")) {
        t.location = true;
    } else if ((n == 2 && line[0] == '\r') || (n == 1 && line[0] == '\n')) {
        if (t.status / 100 == 3 && t.location) t.Report(BINDSTATUS_REDIRECTING);
        t.status = 0;
        t.location = false;
    }
    return n;
}

int OnResolverStart(void*, void*, void* user) {
    static_cast<Transfer*>(user)->Report(BINDSTATUS_FINDINGRESOURCE);
    return 0;
}

int OnSocketOptions(void* user, curl_socket_t, curlsocktype purpose) {
    if (purpose == CURLSOCKTYPE_IPCXN) static_cast<Transfer*>(user)->Report(BINDSTATUS_CONNECTING);
    return CURL_SOCKOPT_OK;
}

int OnRequest(void* user, char*, char*, int, int) {
    static_cast<Transfer*>(user)->Report(BINDSTATUS_SENDINGREQUEST);
    return CURL_PREREQFUNC_OK;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& t = *static_cast<Transfer*>(user);
    if (t.callbacks->shouldAbort && t.callbacks->shouldAbort()) return 1;
    const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t.lastData);
    return idle.count() > t.stallMs ? 1 : 0;
}

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

// The host part of an absolute address ("" when there is none).
std::string CPageDownloader::HostOf(const std::string& url) {
    std::unique_ptr<CURLU, void (*)(CURLU*)> parsed(curl_url(), curl_url_cleanup);
    char* host = nullptr;
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK ||
        curl_url_get(parsed.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK) {
        return {};
    }
    std::string text(host);
    curl_free(host);
    return text;
}

bool CPageDownloader::IsAllowedAddress(const std::string& url, bool allowFile) {
    if (BeginsWith(url, "http://") || BeginsWith(url, "https://") || BeginsWith(url, "ftp://")) return true;
    return allowFile && (BeginsWith(url, "file://") || BeginsWith(url, "/"));
}

CPageDownloader::Result CPageDownloader::Fetch(const std::string& url, bool allowFile, std::time_t ifModifiedSince,
                                               std::string& text, const Callbacks& callbacks) {
    Result result;
    text.clear();
    if (!IsAllowedAddress(url, allowFile)) return result;
    if (platform::sockets_test::IsRestrictedToLoopback() && !BeginsWith(url, "/") &&
        !BeginsWith(url, "file://") && !platform::sockets_test::IsLoopbackHost(HostOf(url))) {
        return result;
    }
    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return result;
    const std::string address = BeginsWith(url, "/") ? "file://" + url : url;
    CURL* h = curl.get();
    Transfer transfer{&text, m_Limits.maxBytes, m_Limits.stallMs, &callbacks, Clock::now()};
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, allowFile ? "http,https,ftp,file" : "http,https,ftp");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    // Pages are fetched directly, never through proxies named in the
    // environment.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, m_Limits.stallMs);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_Limits.maxBytes));
    curl_easy_setopt(h, CURLOPT_FILETIME, 1L);
    if (ifModifiedSince > 0) {
        curl_easy_setopt(h, CURLOPT_TIMECONDITION, static_cast<long>(CURL_TIMECOND_IFMODSINCE));
        curl_easy_setopt(h, CURLOPT_TIMEVALUE_LARGE, static_cast<curl_off_t>(ifModifiedSince));
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_RESOLVER_START_FUNCTION, OnResolverStart);
    curl_easy_setopt(h, CURLOPT_RESOLVER_START_DATA, &transfer);
    curl_easy_setopt(h, CURLOPT_SOCKOPTFUNCTION, OnSocketOptions);
    curl_easy_setopt(h, CURLOPT_SOCKOPTDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, OnRequest);
    curl_easy_setopt(h, CURLOPT_PREREQDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    const CURLcode code = curl_easy_perform(h);
    result.lowResources = transfer.lowResources || code == CURLE_OUT_OF_MEMORY;
    if (code != CURLE_OK || transfer.tooBig) {
        text.clear();
        return result;
    }
    long unmet = 0;
    curl_easy_getinfo(h, CURLINFO_CONDITION_UNMET, &unmet);
    curl_off_t modified = -1;
    curl_easy_getinfo(h, CURLINFO_FILETIME_T, &modified);
    result.complete = true;
    result.notModified = unmet != 0;
    result.modified = static_cast<std::time_t>(modified);
    return result;
}
