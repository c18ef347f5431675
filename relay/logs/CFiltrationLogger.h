#pragma once
// How many items each filter removed, for the control panel's filtration
// page. Every change posts WM_RELAY_FILTERLOG_CHANGED to the attached
// window, which answers with AddToLog on its own thread.
//
// Lock: m_WndCS guards m_Wnd and every post. The counters take no lock;
// they are atomics because the proxy-server thread writes them while the
// panel reads them. They wrap on overflow.

#include <atomic>
#include <cstdint>

#include "platform/CriticalSection.h"
#include "platform/Messages.h"

class ITextSink;

class CFiltrationLogger {
public:
    CFiltrationLogger() = default;
    CFiltrationLogger(const CFiltrationLogger& other);
    CFiltrationLogger& operator=(const CFiltrationLogger& other);
    virtual ~CFiltrationLogger() = default;

    void Attach(platform::HWND wnd);
    void Dettach();
    // Posts WM_RELAY_FILTERLOG_CHANGED.
    void UpdateView();

    // Each adds n to its counter, then posts WM_RELAY_FILTERLOG_CHANGED.
    void IncrementBlockedImages(int n);
    void IncrementBlockedPopUps(int n);
    void IncrementFlashBanners(int n);
    void IncrementAdsWindows(int n);
    void IncrementBlockedServers(int n);
    void IncrementStatusBars(int n);
    void IncrementContextMenuDisablers(int n);
    void IncrementCookies(int n);

    // Every counter back to 0, then a post.
    void ResetLog();

    // Replaces the whole text of the edit with one line per counter.
    void AddToLog(ITextSink& edit) const;

private:
    void Bump(std::atomic<std::int32_t>& counter, int n);
    void CopyFrom(const CFiltrationLogger& other);

    std::atomic<std::int32_t> m_nBlockedImages{0};
    std::atomic<std::int32_t> m_nBlockedPopUps{0};
    std::atomic<std::int32_t> m_nFlashBanners{0};
    std::atomic<std::int32_t> m_nAdsWindows{0};
    std::atomic<std::int32_t> m_nBlockedServers{0};
    std::atomic<std::int32_t> m_nStatusBars{0};
    std::atomic<std::int32_t> m_nContextMenuDisablers{0};
    std::atomic<std::int32_t> m_nCookies{0};
    platform::HWND m_Wnd;
    mutable platform::CriticalSection m_WndCS;
};
