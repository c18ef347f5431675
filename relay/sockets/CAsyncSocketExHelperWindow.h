#pragma once
// The hidden window of one thread's sockets: it holds the thread's socket
// table and turns socket notices and name-lookup replies posted to it into
// the sockets' On... calls. It is created on, and used by, that thread only.

#include <vector>

#include "platform/Messages.h"
#include "relay/sockets/AsyncSocketTypes.h"

class CAsyncSocketEx;

class CAsyncSocketExHelperWindow {
public:
    // Creates the window, owned by the calling thread, and an empty table.
    CAsyncSocketExHelperWindow();
    ~CAsyncSocketExHelperWindow();
    CAsyncSocketExHelperWindow(const CAsyncSocketExHelperWindow&) = delete;
    CAsyncSocketExHelperWindow& operator=(const CAsyncSocketExHelperWindow&) = delete;

    // Enters the socket in the table and sets nSocketIndex; a socket that
    // already holds an index keeps it. False when the table is full.
    bool AddSocket(CAsyncSocketEx* pSocket, int& nSocketIndex);
    // Frees the entry and sets nSocketIndex to -1.
    void RemoveSocket(CAsyncSocketEx* pSocket, int& nSocketIndex);

    platform::HWND GetHwnd() const { return m_hWnd; }
    int GetTableSize() const { return m_nWindowDataSize; }
    int GetSocketCount() const { return m_nSocketCount; }

private:
    platform::LRESULT WindowProc(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);
    void OnSocketNotice(int nIndex, platform::WPARAM wParam, platform::LPARAM lParam);
    void OnHostLookup(platform::WPARAM wParam, platform::LPARAM lParam);

    platform::HWND m_hWnd;
    std::vector<CAsyncSocketEx*> m_pAsyncSocketExWindowData;
    int m_nWindowDataSize = 0;
    int m_nSocketCount = 0;
    int m_nWindowDataPos = 0;  // where the next free-entry search starts
};
