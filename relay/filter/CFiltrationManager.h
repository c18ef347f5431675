#pragma once
// The HTTP filter: FilterRequest may blank request headers, refuse the
// request or ask for a block page; FilterResponse neutralises scripts,
// pop-ups, page titles and page-script tricks. Every edit overwrites bytes
// with blanks or texts of the same length, so a buffer never changes size.
// Runs on the proxy-server thread only; the settings copy is replaced there
// at every server start. What was blocked is counted in
// CBaseServer::m_FiltrationLog.

#include <string>
#include <string_view>
#include <vector>

#include "relay/engine/eRequestState.h"
#include "relay/filter/CScriptFilterState.h"
#include "settings/CFiltrationSettings.h"

class CSettings;

class CFiltrationManager {
public:
    CFiltrationManager();
    CFiltrationManager(const CFiltrationManager&) = default;
    CFiltrationManager& operator=(const CFiltrationManager&) = default;
    // Takes the filtration section only.
    CFiltrationManager& operator=(const CSettings& settings);

    // The buffer holds at least length + 1 bytes; a refused request gets
    // length 0.
    eRequestState FilterRequest(char* text, int& length);
    // state belongs to the connection the buffer came from. Returns 1.
    int FilterResponse(char* text, int& length, CScriptFilterState& state);

    int IsImageBlocker() const;
    int IsFlashBannersBlocker() const;
    int IsAdsBlocker() const;
    int IsScriptsBlocker() const;
    int IsPopUpBlocker() const;
    int IsPageTitleBlock() const;
    int IsStopServerBlocker() const;
    int IsOSBlocker() const;
    int IsCookiesBlocker() const;
    int IsReferrerBlocker() const;
    int IsJavaAppletDisabled() const;
    int IsTimerBasedProcessing() const;
    int IsWindowCloseupEvent() const;
    int IsContextMenuDisabler() const;

    // Puts the whole replacement title between titleStart and titleEnd (the
    // start of "</title>"), so the text grows: only when the result fits in
    // size bytes (its NUL included) and in the 10240-byte work buffer.
    // Returns the new length, or -1 and leaves the text alone when it does
    // not fit; titleEnd moves to the new end of the title.
    int CopyPktForBigTitleToNewString(char* text, int size, int& titleStart, int& titleEnd) const;

    // The host of the first "host:" line, at most 255 characters; empty
    // without one.
    static std::string GetHostName(std::string_view request);

    static constexpr std::size_t kMaxHostName = 255;
    static constexpr int kWorkBufferSize = 10240;

private:
    // Request steps: each returns the verdict, REQUEST_STATE_PASS to go on.
    eRequestState RemoveImageRequest(std::string_view request);
    eRequestState RemoveJavaAppletRequest(std::string_view request);
    eRequestState RemoveFlashBannersRequest(std::string_view request);
    eRequestState BlockAdsRequest(std::string_view request);
    eRequestState BlockScriptRequest(std::string_view request);
    eRequestState BlockStopServerRequest(std::string_view request);
    void RemoveReferrerRequest(char* text, std::size_t size);
    void ProcessReferer(char* text, std::size_t size, std::string_view name);
    void RemoveOSAndBrowserRequest(char* text, std::size_t size);
    void DisableInternetFilesCacheRequest(char* text, std::size_t size);
    void RemoveCookiesRequest(char* text, std::size_t size);

    // Response steps.
    bool ForseEnableScript(std::string_view response, CScriptFilterState& state) const;
    void BlockScriptsResponse(char* text, std::size_t size, CScriptFilterState& state);
    void BlockPopUpsRequest(char* text, std::size_t size);
    void RemovePageTitleResponse(char* text, std::size_t size);
    void DisableTimerBasedProcessingResponse(char* text, std::size_t size);
    void DisableWindowCloseupEventProcessingResponse(char* text, std::size_t size);
    void RemoveStatusBarModifiersResponse(char* text, std::size_t size);
    void RemoveContextMenuDisablersResponse(char* text, std::size_t size);
    static int CommentResponse(char* text, std::size_t size, std::string_view pattern);

    CFiltrationSettings mSettings;
    std::vector<std::string> mImageExtensions;
    std::vector<std::string> mJavaExtensions;
    std::vector<std::string> mScriptExtensions;
    std::vector<std::string> mAllowedScriptSites;
};
