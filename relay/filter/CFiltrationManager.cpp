#include "relay/filter/CFiltrationManager.h"

#include <algorithm>

#include "relay/filter/FilterCounts.h"
#include "relay/filter/FilterText.h"
#include "settings/CSettings.h"

using filtertext::npos;

namespace {

// Names ProcessReferer blanks, in this order.
constexpr std::string_view kRefererNames[] = {"referer:", "referrer:", "referer :", "referrer :"};

// A list entry and a host match when either holds the other; an empty entry
// never matches.
bool EntryMatchesHost(const std::string& entry, const std::string& host) {
    if (entry.empty()) return false;
    return entry.find(host) != std::string::npos || host.find(entry) != std::string::npos;
}

bool FindAny(std::string_view text, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [text](const std::string& p) { return filtertext::Find(text, p) != npos; });
}

// Blanks from after the marker up to, not including, the next line feed;
// false when no line feed follows.
bool BlankToLineEnd(char* text, std::size_t size, std::size_t markerEnd) {
    const std::size_t lf = std::string_view(text, size).find('\n', markerEnd);
    if (lf == npos) return false;
    filtertext::Blank(text, size, markerEnd, lf);
    return true;
}

}  // namespace

CFiltrationManager::CFiltrationManager()
    : mImageExtensions{".gif", ".jpg", ".png", ".bmp", ".jpeg", ".pcx", ".dib", ".tif", ".tiff", ".jpe"},
      mJavaExtensions{".class"},
      mScriptExtensions{".js", ".vbs", ".vb"},
      mAllowedScriptSites{".passport.", ".hotmail.", "default.arm"} {}

CFiltrationManager& CFiltrationManager::operator=(const CSettings& settings) {
    mSettings = *settings.getFiltrationSettings();
    return *this;
}

int CFiltrationManager::IsImageBlocker() const { return mSettings.mInFiltration.getBlockImages() ? 1 : 0; }
int CFiltrationManager::IsFlashBannersBlocker() const { return mSettings.mInFiltration.getBlockBannerFlash() ? 1 : 0; }
int CFiltrationManager::IsAdsBlocker() const { return mSettings.mInFiltration.getBlockBannerAdds() ? 1 : 0; }
int CFiltrationManager::IsScriptsBlocker() const { return mSettings.mInFiltration.getBlockScripts() ? 1 : 0; }
int CFiltrationManager::IsPopUpBlocker() const { return mSettings.mInFiltration.getBlockPopUps() ? 1 : 0; }
int CFiltrationManager::IsPageTitleBlock() const { return mSettings.mInFiltration.getIsBlockTitle() ? 1 : 0; }
int CFiltrationManager::IsStopServerBlocker() const { return mSettings.mOutFiltration.IsEnableServerList(); }
int CFiltrationManager::IsOSBlocker() const { return mSettings.mOutFiltration.IsOsShield(); }
int CFiltrationManager::IsCookiesBlocker() const { return mSettings.mOutFiltration.IsDiabledCookies(); }
int CFiltrationManager::IsReferrerBlocker() const { return mSettings.mOutFiltration.IsBlockReferrer(); }
int CFiltrationManager::IsJavaAppletDisabled() const {
    return static_cast<int>(mSettings.mAdvancedFiltration.mDisableJavaApplets);
}
int CFiltrationManager::IsTimerBasedProcessing() const {
    return static_cast<int>(mSettings.mAdvancedFiltration.mDisableTimerScripts);
}
int CFiltrationManager::IsWindowCloseupEvent() const {
    return static_cast<int>(mSettings.mAdvancedFiltration.mDisableWndCloseupEvents);
}
int CFiltrationManager::IsContextMenuDisabler() const {
    return static_cast<int>(mSettings.mAdvancedFiltration.mRemoveContextMenu);
}

std::string CFiltrationManager::GetHostName(std::string_view request) {
    const std::size_t at = filtertext::Find(request, "host:");
    if (at == npos) return {};
    const std::size_t lf = request.find('\n', at);
    if (lf == npos) return {};
    // The blank after the colon and the carriage return before the line
    // feed are not part of the name.
    const std::size_t from = at + 6;
    if (lf < from + 1) return {};
    return std::string(request.substr(from, std::min(lf - 1 - from, kMaxHostName)));
}

eRequestState CFiltrationManager::FilterRequest(char* text, int& length) {
    const std::string_view request = filtertext::Visible(text, length);
    if (request.empty()) return REQUEST_STATE_PASS;
    const std::size_t size = request.size();

    struct RefusingStep {
        int (CFiltrationManager::*on)() const;
        eRequestState (CFiltrationManager::*step)(std::string_view);
    };
    static constexpr RefusingStep kIncoming[] = {
        {&CFiltrationManager::IsImageBlocker, &CFiltrationManager::RemoveImageRequest},
        {&CFiltrationManager::IsJavaAppletDisabled, &CFiltrationManager::RemoveJavaAppletRequest},
        {&CFiltrationManager::IsFlashBannersBlocker, &CFiltrationManager::RemoveFlashBannersRequest},
        {&CFiltrationManager::IsAdsBlocker, &CFiltrationManager::BlockAdsRequest},
        {&CFiltrationManager::IsScriptsBlocker, &CFiltrationManager::BlockScriptRequest},
    };
    if (mSettings.mInFiltration.getEnable()) {
        for (const RefusingStep& s : kIncoming) {
            if (!(this->*s.on)()) continue;
            const eRequestState verdict = (this->*s.step)(request);
            if (verdict != REQUEST_STATE_PASS) {
                length = 0;
                return verdict;
            }
        }
    }
    if (!mSettings.mOutFiltration.IsEnable()) return REQUEST_STATE_PASS;
    if (IsReferrerBlocker()) RemoveReferrerRequest(text, size);
    if (IsStopServerBlocker()) {
        const eRequestState verdict = BlockStopServerRequest(request);
        if (verdict != REQUEST_STATE_PASS) {
            length = 0;
            return verdict;
        }
    }
    if (IsOSBlocker()) RemoveOSAndBrowserRequest(text, size);
    if (mSettings.mOutFiltration.IsDisabledFileCache()) DisableInternetFilesCacheRequest(text, size);
    if (IsCookiesBlocker()) RemoveCookiesRequest(text, size);
    return REQUEST_STATE_PASS;
}

eRequestState CFiltrationManager::RemoveImageRequest(std::string_view request) {
    if (!FindAny(request, mImageExtensions)) return REQUEST_STATE_PASS;
    filtercounts::Count(filtercounts::eBlocked::Images, 1);
    return REQUEST_STATE_CLOSE;
}

eRequestState CFiltrationManager::RemoveJavaAppletRequest(std::string_view request) {
    return FindAny(request, mJavaExtensions) ? REQUEST_STATE_CLOSE : REQUEST_STATE_PASS;
}

eRequestState CFiltrationManager::RemoveFlashBannersRequest(std::string_view request) {
    if (filtertext::FindExact(request, ".swf") == npos) return REQUEST_STATE_PASS;
    filtercounts::Count(filtercounts::eBlocked::FlashBanners, 1);
    return REQUEST_STATE_CLOSE;
}

eRequestState CFiltrationManager::BlockAdsRequest(std::string_view request) {
    const std::string host = GetHostName(request);
    if (host.empty()) return REQUEST_STATE_PASS;
    const CFiltrationBanners& banners = mSettings.mInFiltration.mBanners;
    for (const std::vector<std::string>* list : {&banners.GetBlockedServerList(), &banners.GetCustomServerList()}) {
        for (const std::string& entry : *list) {
            if (!EntryMatchesHost(entry, host)) continue;
            filtercounts::Count(filtercounts::eBlocked::AdsWindows, 1);
            return REQUEST_STATE_BLOCK_AD;
        }
    }
    return REQUEST_STATE_PASS;
}

eRequestState CFiltrationManager::BlockScriptRequest(std::string_view request) {
    return FindAny(request, mScriptExtensions) ? REQUEST_STATE_CLOSE : REQUEST_STATE_PASS;
}

eRequestState CFiltrationManager::BlockStopServerRequest(std::string_view request) {
    std::string host = GetHostName(request);
    std::transform(host.begin(), host.end(), host.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    // A request without a host line is held by every entry.
    for (const std::string& entry : mSettings.mOutFiltration.GetServerStopList()) {
        if (!EntryMatchesHost(entry, host)) continue;
        filtercounts::Count(filtercounts::eBlocked::Servers, 1);
        return REQUEST_STATE_BLOCK_SERVER;
    }
    return REQUEST_STATE_PASS;
}

void CFiltrationManager::RemoveReferrerRequest(char* text, std::size_t size) {
    for (const std::string_view name : kRefererNames) ProcessReferer(text, size, name);
}

void CFiltrationManager::ProcessReferer(char* text, std::size_t size, std::string_view name) {
    const std::string_view view(text, size);
    for (std::size_t at = filtertext::Find(view, name); at != npos; at = filtertext::Find(view, name, at + 1)) {
        BlankToLineEnd(text, size, at + name.size());
    }
    const std::string script = "document." + std::string(name);
    for (std::size_t at = filtertext::Find(view, script); at != npos; at = filtertext::Find(view, script, at + 1)) {
        const std::size_t semicolon = view.find(';', at);
        if (semicolon != npos) filtertext::Blank(text, size, at, semicolon);
    }
}

void CFiltrationManager::RemoveOSAndBrowserRequest(char* text, std::size_t size) {
    constexpr std::string_view kName = "user-agent:";
    const std::size_t at = filtertext::Find({text, size}, kName);
    if (at != npos) BlankToLineEnd(text, size, at + kName.size());
}

void CFiltrationManager::DisableInternetFilesCacheRequest(char* text, std::size_t size) {
    const std::string_view view(text, size);
    constexpr std::string_view kName = "if-modified-since";
    for (std::size_t at = filtertext::Find(view, kName); at != npos;
         at = filtertext::Find(view, kName, at + kName.size())) {
        const std::size_t colon = view.find(':', at + kName.size());
        if (colon == npos) break;
        const std::size_t lf = view.find('\n', colon);
        if (lf == npos) break;
        filtertext::Blank(text, size, colon + 1, lf);
    }
}

void CFiltrationManager::RemoveCookiesRequest(char* text, std::size_t size) {
    constexpr std::string_view kName = "cookie:";
    const std::size_t at = filtertext::Find({text, size}, kName);
    if (at != npos && BlankToLineEnd(text, size, at + kName.size())) {
        filtercounts::Count(filtercounts::eBlocked::Cookies, 1);
    }
}
