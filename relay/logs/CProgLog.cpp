#include "relay/logs/CProgLog.h"

#include <mutex>

#include "relay/engine/EngineMessages.h"
#include "relay/engine/FindNoCase.h"
#include "relay/logs/IRowSink.h"

platform::CriticalSection CProgLog::m_CriticalSection;

namespace {

// Longest host text kept.
constexpr std::size_t kMaxHost = 100;

struct KnownProgram {
    const char* word;
    const char* name;
};

// Searched in this order; the first word found names the program.
constexpr KnownProgram kPrograms[] = {
    {"msie", "Internet Explorer"},
    {"netscape", "Netscape"},
    {"opera", "Opera"},
    {"msmsg", "MSN Messenger"},
};

// The value after "Host:", blanks removed (also inside it), up to the end
// of its line.
std::string HostOf(const char* request) {
    std::string host;
    const char* found = FindNoCase(request, "Host:");
    if (!found) return host;
    for (const char* p = found + 5; *p && *p != '\r' && *p != '\n' && host.size() < kMaxHost; ++p) {
        if (*p != ' ' && *p != '\t') host += *p;
    }
    return host;
}

const char* ProgramOf(const char* request) {
    if (!FindNoCase(request, "User-Agent:")) return nullptr;
    for (const KnownProgram& program : kPrograms) {
        if (FindNoCase(request, program.word)) return program.name;
    }
    return nullptr;
}

}  // namespace

CProgLog::CProgLog(const CProgLog& other) { *this = other; }

CProgLog& CProgLog::operator=(const CProgLog& other) {
    if (this == &other) return *this;
    std::lock_guard lock(m_CriticalSection);
    platform::HWND wnd;
    {
        std::lock_guard otherWnd(other.m_WndCS);
        wnd = other.m_Wnd;
    }
    std::lock_guard wndLock(m_WndCS);
    m_ProgList = other.m_ProgList;
    m_HostList = other.m_HostList;
    m_Wnd = wnd;
    return *this;
}

void CProgLog::Attach(platform::HWND wnd) {
    std::lock_guard lock(m_WndCS);
    m_Wnd = wnd;
}

void CProgLog::Dettach() {
    std::lock_guard lock(m_WndCS);
    m_Wnd = nullptr;
}

void CProgLog::Post(platform::UINT message, platform::WPARAM wParam) {
    std::lock_guard lock(m_WndCS);
    if (m_Wnd && platform::IsWindow(m_Wnd)) platform::PostMessage(m_Wnd, message, wParam, 0);
}

void CProgLog::UpdateProgLog(const char* request) {
    if (!request) return;
    std::lock_guard lock(m_CriticalSection);
    const char* program = ProgramOf(request);
    if (!program) return;
    m_ProgList.emplace_back(program);
    m_HostList.push_back(HostOf(request));
    unsigned index = static_cast<unsigned>(m_ProgList.size() - 1);
    UpdateView(index);
}

void CProgLog::UpdateView(unsigned& index) {
    if (index == kNoEntry) return;
    Post(WM_RELAY_PROGLOG_ITEM, index);
}

void CProgLog::ViewAllElements() {
    std::lock_guard lock(m_CriticalSection);
    for (unsigned i = 0; i < m_ProgList.size(); ++i) Post(WM_RELAY_PROGLOG_ITEM, i);
}

void CProgLog::RemoveAllElements() {
    std::lock_guard lock(m_CriticalSection);
    m_ProgList.clear();
    m_HostList.clear();
    Post(WM_RELAY_PROGLOG_RESET, 0);
}

void CProgLog::ClearProgLog() { RemoveAllElements(); }

unsigned CProgLog::GetProgLogCount() const {
    std::lock_guard lock(m_CriticalSection);
    return static_cast<unsigned>(m_ProgList.size());
}

void CProgLog::GetProgLogAt(unsigned n, std::string& program, std::string& host) const {
    std::lock_guard lock(m_CriticalSection);
    if (n >= m_ProgList.size()) return;
    program = m_ProgList[n];
    host = m_HostList[n];
}

void CProgLog::AddToList(IRowSink& list, unsigned n) const {
    if (n == kNoEntry) return;
    std::string program;
    std::string host;
    {
        std::lock_guard lock(m_CriticalSection);
        if (n >= m_ProgList.size()) return;
        program = m_ProgList[n];
        host = m_HostList[n];
    }
    const int row = list.InsertItem(static_cast<int>(n), std::to_string(static_cast<int>(n)).c_str());
    if (row < 0) return;
    list.SetItemText(row, 1, program.c_str());
    list.SetItemText(row, 2, host.c_str());
}
