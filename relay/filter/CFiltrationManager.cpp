#include "relay/filter/CFiltrationManager.h"

#include <algorithm>

#include "relay/engine/HttpHeadFields.h"
#include "relay/filter/FilterCounts.h"
#include "relay/filter/FilterText.h"
#include "settings/CSettings.h"

using filtertext::npos;

namespace {

// Fields ProcessReferer blanks, in this order (blanks before the colon
// are allowed by the field match).
constexpr std::string_view kRefererNames[] = {"referer", "referrer"};

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

// Blanks the value of a field; its name, colon and line end stay, so the
// head stays valid.
void BlankValue(char* text, std::size_t size, const httphead::Field& field) {
    filtertext::Blank(text, size, field.valueBegin, field.valueEnd);
}

// Blanks the value of the first field named name (or of every one); false
// without such a field.
bool BlankField(char* text, std::size_t size, std::string_view name, bool every) {
    bool found = false;
    for (const httphead::Field& f : httphead::Fields({text, size})) {
        if (!httphead::EqualNoCase(f.name, name)) continue;
        BlankValue(text, size, f);
        found = true;
        if (!every) break;
    }
    return found;
}

// The path of a request line's target: no scheme and host, no query.
std::string_view TargetPath(std::string_view request) {
    const std::string_view line = httphead::StartLine(request);
    const std::size_t blank = line.find(' ');
    if (blank == npos) return {};
    std::string_view target = line.substr(blank + 1);
    target = target.substr(0, target.find(' '));
    const std::size_t scheme = target.find("://");
    if (scheme != npos && target.find('/') > scheme) {
        const std::size_t path = target.find('/', scheme + 3);
        target = path == npos ? std::string_view() : target.substr(path);
    }
    return target.substr(0, std::min(target.find('?'), target.find('#')));
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
    const std::optional<std::string_view> host = httphead::FieldValue(request, "host");
    if (!host) return {};
    return std::string(host->substr(0, kMaxHostName));
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
    // A script is asked for by its path's ending, not by a name that merely
    // holds an extension.
    const std::string_view path = TargetPath(request);
    const bool script = std::any_of(mScriptExtensions.begin(), mScriptExtensions.end(), [path](const std::string& ext) {
        return path.size() >= ext.size() && httphead::EqualNoCase(path.substr(path.size() - ext.size()), ext);
    });
    return script ? REQUEST_STATE_CLOSE : REQUEST_STATE_PASS;
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
    BlankField(text, size, name, true);
    // A page script's "document.referrer:" in the head is blanked to its ";",
    // never past its own line.
    const std::string_view view(text, size);
    const std::string script = "document." + std::string(name) + ":";
    for (std::size_t at = filtertext::Find(view, script); at != npos; at = filtertext::Find(view, script, at + 1)) {
        const std::size_t semicolon = view.find(';', at);
        const std::size_t lineEnd = view.find_first_of("\r\n", at);
        if (semicolon != npos && semicolon < lineEnd) filtertext::Blank(text, size, at, semicolon);
    }
}

void CFiltrationManager::RemoveOSAndBrowserRequest(char* text, std::size_t size) {
    BlankField(text, size, "user-agent", false);
}

void CFiltrationManager::DisableInternetFilesCacheRequest(char* text, std::size_t size) {
    BlankField(text, size, "if-modified-since", true);
}

void CFiltrationManager::RemoveCookiesRequest(char* text, std::size_t size) {
    if (BlankField(text, size, "cookie", false)) filtercounts::Count(filtercounts::eBlocked::Cookies, 1);
}
