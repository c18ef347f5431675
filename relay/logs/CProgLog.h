#pragma once
// Which client program asked for which host, for the control panel's
// program page. One entry per logged request; it grows until cleared.
//
// Locks: m_CriticalSection (shared by every program log) serialises
// UpdateProgLog and guards both lists for every read and clear; m_WndCS
// guards m_Wnd and every post. Order: m_CriticalSection, then m_WndCS.

#include <string>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/Messages.h"

class IRowSink;

class CProgLog {
public:
    // The index that names no entry.
    static constexpr unsigned kNoEntry = 0xFFFFFFFF;

    CProgLog() = default;
    CProgLog(const CProgLog& other);
    CProgLog& operator=(const CProgLog& other);

    void Attach(platform::HWND wnd);
    void Dettach();

    // Logs the program a request names (by its User-Agent line and words
    // anywhere in the request) with its Host value; nothing when it names
    // none of the known programs.
    void UpdateProgLog(const char* request);
    // Posts WM_RELAY_PROGLOG_ITEM with index, unless it is kNoEntry.
    void UpdateView(unsigned& index);
    void ViewAllElements();
    // Empties the log and posts WM_RELAY_PROGLOG_RESET.
    void RemoveAllElements();
    void ClearProgLog();

    unsigned GetProgLogCount() const;
    // Leaves program and host as they are when n is out of range.
    void GetProgLogAt(unsigned n, std::string& program, std::string& host) const;
    // Adds entry n as row n: its number from 0, the program, the host.
    // Nothing for kNoEntry or an index out of range.
    void AddToList(IRowSink& list, unsigned n) const;

private:
    void Post(platform::UINT message, platform::WPARAM wParam);

    std::vector<std::string> m_ProgList;
    std::vector<std::string> m_HostList;
    platform::HWND m_Wnd;
    mutable platform::CriticalSection m_WndCS;

    static platform::CriticalSection m_CriticalSection;
};
