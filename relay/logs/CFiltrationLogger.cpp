#include "relay/logs/CFiltrationLogger.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "relay/engine/EngineMessages.h"
#include "relay/logs/ITextSink.h"

namespace {

// One line per counter, in member order.
constexpr const char* kLines[] = {
    "The number of blocked images is : %d\r\n",
    "The number of blocked popup windows is : %d\r\n",
    "The number of blocked flash banners is : %d\r\n",
    "The number of blocked Ad windows is:%d\r\n",
    "The number of blocked servers is : %d\r\n",
    "The number of blocked status bars is : %d\r\n",
    "The number of blocked context menus are : %d\r\n",
    "The number of blocked cookies are : %d\r\n",
};

}  // namespace

CFiltrationLogger::CFiltrationLogger(const CFiltrationLogger& other) { CopyFrom(other); }

CFiltrationLogger& CFiltrationLogger::operator=(const CFiltrationLogger& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

void CFiltrationLogger::CopyFrom(const CFiltrationLogger& other) {
    m_nBlockedImages.store(other.m_nBlockedImages.load());
    m_nBlockedPopUps.store(other.m_nBlockedPopUps.load());
    m_nFlashBanners.store(other.m_nFlashBanners.load());
    m_nAdsWindows.store(other.m_nAdsWindows.load());
    m_nBlockedServers.store(other.m_nBlockedServers.load());
    m_nStatusBars.store(other.m_nStatusBars.load());
    m_nContextMenuDisablers.store(other.m_nContextMenuDisablers.load());
    m_nCookies.store(other.m_nCookies.load());
    platform::HWND wnd;
    {
        std::lock_guard lock(other.m_WndCS);
        wnd = other.m_Wnd;
    }
    std::lock_guard lock(m_WndCS);
    m_Wnd = wnd;
}

void CFiltrationLogger::Attach(platform::HWND wnd) {
    std::lock_guard lock(m_WndCS);
    m_Wnd = wnd;
}

void CFiltrationLogger::Dettach() {
    std::lock_guard lock(m_WndCS);
    m_Wnd = nullptr;
}

void CFiltrationLogger::UpdateView() {
    std::lock_guard lock(m_WndCS);
    if (m_Wnd && platform::IsWindow(m_Wnd)) platform::PostMessage(m_Wnd, WM_RELAY_FILTERLOG_CHANGED, 0, 0);
}

void CFiltrationLogger::Bump(std::atomic<std::int32_t>& counter, int n) {
    // Atomic addition of a signed integer wraps.
    counter.fetch_add(n, std::memory_order_relaxed);
    UpdateView();
}

void CFiltrationLogger::IncrementBlockedImages(int n) { Bump(m_nBlockedImages, n); }
void CFiltrationLogger::IncrementBlockedPopUps(int n) { Bump(m_nBlockedPopUps, n); }
void CFiltrationLogger::IncrementFlashBanners(int n) { Bump(m_nFlashBanners, n); }
void CFiltrationLogger::IncrementAdsWindows(int n) { Bump(m_nAdsWindows, n); }
void CFiltrationLogger::IncrementBlockedServers(int n) { Bump(m_nBlockedServers, n); }
void CFiltrationLogger::IncrementStatusBars(int n) { Bump(m_nStatusBars, n); }
void CFiltrationLogger::IncrementContextMenuDisablers(int n) { Bump(m_nContextMenuDisablers, n); }
void CFiltrationLogger::IncrementCookies(int n) { Bump(m_nCookies, n); }

void CFiltrationLogger::ResetLog() {
    for (auto* counter : {&m_nBlockedImages, &m_nBlockedPopUps, &m_nFlashBanners, &m_nAdsWindows,
                          &m_nBlockedServers, &m_nStatusBars, &m_nContextMenuDisablers, &m_nCookies}) {
        counter->store(0, std::memory_order_relaxed);
    }
    UpdateView();
}

void CFiltrationLogger::AddToLog(ITextSink& edit) const {
    const std::int32_t values[] = {
        m_nBlockedImages.load(std::memory_order_relaxed),  m_nBlockedPopUps.load(std::memory_order_relaxed),
        m_nFlashBanners.load(std::memory_order_relaxed),   m_nAdsWindows.load(std::memory_order_relaxed),
        m_nBlockedServers.load(std::memory_order_relaxed), m_nStatusBars.load(std::memory_order_relaxed),
        m_nContextMenuDisablers.load(std::memory_order_relaxed), m_nCookies.load(std::memory_order_relaxed),
    };
    std::string text;
    char line[80];
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        std::snprintf(line, sizeof line, kLines[i], static_cast<int>(values[i]));
        text += line;
    }
    edit.SetWindowText(text.c_str());
}
