#pragma once
// The bridge from a worker thread (analyzer, private-list analyzer, hunter)
// to the page attached to it: progress text, the proxies found, the end of
// the work, and the stop request the page makes.
//
// Every post to the page is followed by a 100 ms sleep of the worker, so
// that the page keeps up. The log text and the queue are written by the
// worker and read by the page's thread: both are guarded by m_DataCS; the
// end notice is posted under m_EndCS.

#include <atomic>
#include <deque>
#include <mutex>
#include <string>

#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/Messages.h"
#include "platform/Types.h"
#include "relay/pool/CProxy.h"

class IListSink;

inline constexpr platform::UINT WM_RELAY_PROXYCONFIG_END = 1025;    // WM_USER+1: work finished
inline constexpr platform::UINT WM_RELAY_PROXYCONFIG_LOG = 1027;    // WM_USER+3: getLog() changed
inline constexpr platform::UINT WM_RELAY_PROXYCONFIG_FOUND = 1029;  // WM_USER+5: proxies queued
inline constexpr platform::UINT WM_RELAY_CHECK_PROXY_REQUEST = 1038;  // WM_USER+14

class CProxyConfig {
public:
    static constexpr platform::DWORD kPostPaceMs = 100;

    CProxyConfig();
    // Copies the log text, the queue and the window; the copy has its own
    // lock and stop event (not signalled, stop flag clear).
    CProxyConfig(const CProxyConfig& other);
    CProxyConfig& operator=(const CProxyConfig& other);
    ~CProxyConfig() = default;

    void AttachWindow(platform::HWND window);
    void DetachWindow();
    platform::HWND GetWindow() const;

    bool getShouldStop() const { return m_bShouldStop.load(); }
    // Also sets (true) or resets (false) the stop event.
    void setShouldStop(bool stop);
    // Set exactly while the stop flag is set; every wait of the worker
    // also waits for it.
    const platform::Event& GetStopEvent() const { return m_StopEvent; }

    // Resets the stop event and empties the log text; the stop flag stays.
    void Reset();
    // A copy of the whole log text.
    std::string getLog() const;
    // Appends text and "\r\n" and tells the page; dropped when no live
    // window is attached.
    void AddToLog(const char* text);
    // Queues a copy and tells the page; nothing without a window.
    void AddProxy(const CProxy& proxy);
    // Moves the queued proxies into list, one row each (CProxy::Write,
    // hiding unusable ones when the engine deletes failed proxies).
    void AddToList(IListSink& list);
    // Tells the page the work ended (when one is attached) and empties the
    // queue.
    void SendEndProcessMsg();
    // The number of queued proxies.
    int GetQueuedCount() const;
    // Under the end lock, posts WM_RELAY_CHECK_PROXY_REQUEST to the window.
    void PostCheckProxyRequest();

private:
    // Posts message to the window and paces the worker; false when no live
    // window is attached.
    bool PostToWindow(platform::UINT message);

    std::string m_Log;
    std::deque<CProxy> m_Found;
    std::atomic<platform::HWND> m_Window{platform::HWND()};
    platform::CriticalSection m_EndCS;
    std::atomic<bool> m_bShouldStop{false};
    platform::Event m_StopEvent{true, false};
    mutable std::mutex m_DataCS;
};
