#pragma once
// The HTTP filter: FilterRequest may blank header values of a request head,
// refuse the request or ask for a block page; FilterResponse neutralises
// scripts, pop-ups, page titles and page-script tricks in the body of a
// page or a script, read by read. Every edit overwrites bytes with blanks
// or texts of the same length, so a text never changes size and every line
// keeps its line end. Runs on the proxy-server thread only; the settings
// copy is replaced there at every server start. What was blocked is counted
// in CBaseServer::m_FiltrationLog.

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

    // text is one request head and holds at least length + 1 bytes; a
    // refused request gets length 0.
    eRequestState FilterRequest(char* text, int& length);
    // A final response head: true when its body is to be filtered (incoming
    // filtration is on, the body is a page or a script, and a filter applies
    // to it). Takes the location exemption from the head and starts the
    // body in state, which belongs to the connection.
    bool FilterResponseHead(std::string_view head, CScriptFilterState& state);
    // Filters the next bytes of that body in place, in one pass. length
    // becomes the count of bytes decided: the rest may begin a marker and
    // comes again in front of the next bytes. With last, every byte is
    // decided. A NUL ends filtering for the rest of the body. Returns 1.
    int FilterResponse(char* text, int& length, CScriptFilterState& state, bool last = true);

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

    // The value of the request's Host field, wherever it stands, at most
    // 255 characters; empty without one.
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

    // Response steps. ScanBody walks a body piece once and hands each marker
    // to its step; a step returns where the walk goes on, or npos when it
    // needs bytes of the next piece first.
    bool StepOn(int step, const CScriptFilterState& state) const;
    std::size_t ScanBody(char* text, std::size_t size, bool last, CScriptFilterState& state);
    bool ForseEnableScript(std::string_view head, CScriptFilterState& state) const;
    std::size_t BlockScriptsResponse(char* text, std::size_t size, std::size_t from, bool last,
                                     CScriptFilterState& state);
    std::size_t BlockPopUpsRequest(char* text, std::size_t size, std::size_t at, bool last);
    std::size_t RemovePageTitleResponse(char* text, std::size_t size, std::size_t at, bool last,
                                        CScriptFilterState& state);
    // Blanks from from through the next ";" (or the whole piece).
    static std::size_t CommentResponse(char* text, std::size_t size, std::size_t from, CScriptFilterState& state);

    CFiltrationSettings mSettings;
    std::vector<std::string> mImageExtensions;
    std::vector<std::string> mJavaExtensions;
    std::vector<std::string> mScriptExtensions;
    std::vector<std::string> mAllowedScriptSites;
};
