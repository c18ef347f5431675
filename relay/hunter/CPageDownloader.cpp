#include "relay/hunter/CPageDownloader.h"

#include "platform/Sockets.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
    std::string* text;
    std::size_t maxBytes;
    long stallMs;
    const CPageDownloader::Callbacks* callbacks;
    Clock::time_point lastData;
    bool tooBig = false;
};

std::size_t OnWrite(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (t.text->size() + n > t.maxBytes) {
        t.tooBig = true;
        return 0;  // ends the transfer with a write error
    }
    t.text->append(data, n);
    t.lastData = Clock::now();
    if (n && t.callbacks->onData) t.callbacks->onData();
    return n;
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

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

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

bool CPageDownloader::Fetch(const std::string& url, bool allowFile, std::string& text,
                            const Callbacks& callbacks) {
    text.clear();
    if (!IsAllowedAddress(url, allowFile)) return false;
    if (platform::sockets_test::IsRestrictedToLoopback() && !BeginsWith(url, "/") &&
        !BeginsWith(url, "file://") && !platform::sockets_test::IsLoopbackHost(HostOf(url))) {
        return false;
    }
    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return false;
    const std::string address = BeginsWith(url, "/") ? "file://" + url : url;
    Transfer transfer{&text, m_Limits.maxBytes, m_Limits.stallMs, &callbacks, Clock::now()};
    CURL* h = curl.get();
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
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    const CURLcode result = curl_easy_perform(h);
    if (result != CURLE_OK || transfer.tooBig) {
        text.clear();
        return false;
    }
    return true;
}
