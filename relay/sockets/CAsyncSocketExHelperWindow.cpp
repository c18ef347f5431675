#include "relay/sockets/CAsyncSocketExHelperWindow.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

#include "relay/sockets/CAsyncSocketEx.h"

using namespace platform;

CAsyncSocketExHelperWindow::CAsyncSocketExHelperWindow()
    : m_pAsyncSocketExWindowData(kSocketTableInitialSize, nullptr), m_nWindowDataSize(kSocketTableInitialSize) {
    m_hWnd = CreateMessageWindow("CAsyncSocketEx Helper Window", "CAsyncSocketEx Helper Window",
                                 [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
                                     return WindowProc(message, wParam, lParam);
                                 });
}

CAsyncSocketExHelperWindow::~CAsyncSocketExHelperWindow() {
    DestroyWindow(m_hWnd);
}

bool CAsyncSocketExHelperWindow::AddSocket(CAsyncSocketEx* pSocket, int& nSocketIndex) {
    if (nSocketIndex != -1) return true;
    if (m_nWindowDataSize == 0) {
        m_pAsyncSocketExWindowData.assign(kSocketTableInitialSize, nullptr);
        m_nWindowDataSize = kSocketTableInitialSize;
    }
    if (m_nSocketCount >= m_nWindowDataSize - kSocketTableSlack && m_nWindowDataSize < kSocketTableMaxSize) {
        m_nWindowDataSize = std::min(m_nWindowDataSize + kSocketTableGrowth, kSocketTableMaxSize);
        m_pAsyncSocketExWindowData.resize(static_cast<std::size_t>(m_nWindowDataSize), nullptr);
    }
    for (int step = 0; step < m_nWindowDataSize; ++step) {
        const int index = (m_nWindowDataPos + step) % m_nWindowDataSize;
        if (m_pAsyncSocketExWindowData[static_cast<std::size_t>(index)]) continue;
        m_pAsyncSocketExWindowData[static_cast<std::size_t>(index)] = pSocket;
        nSocketIndex = index;
        ++m_nSocketCount;
        m_nWindowDataPos = (index + 1) % m_nWindowDataSize;
        return true;
    }
    return false;
}

void CAsyncSocketExHelperWindow::RemoveSocket(CAsyncSocketEx* pSocket, int& nSocketIndex) {
    if (nSocketIndex < 0 || nSocketIndex >= m_nWindowDataSize) return;
    auto& entry = m_pAsyncSocketExWindowData[static_cast<std::size_t>(nSocketIndex)];
    if (entry == pSocket) {
        entry = nullptr;
        --m_nSocketCount;
    }
    nSocketIndex = -1;
}

LRESULT CAsyncSocketExHelperWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_SOCKETEX_NOTIFY && message < WM_SOCKETEX_NOTIFY + static_cast<UINT>(m_nWindowDataSize)) {
        OnSocketNotice(static_cast<int>(message - WM_SOCKETEX_NOTIFY), wParam, lParam);
        return 0;
    }
    if (message == WM_SOCKETEX_GETHOST) {
        OnHostLookup(wParam, lParam);
        return 0;
    }
    return DefWindowProc(m_hWnd, message, wParam, lParam);
}

void CAsyncSocketExHelperWindow::OnSocketNotice(int nIndex, WPARAM wParam, LPARAM lParam) {
    CAsyncSocketEx* pSocket = m_pAsyncSocketExWindowData[static_cast<std::size_t>(nIndex)];
    // A notice for a closed or replaced socket is stale.
    if (!pSocket || wParam != static_cast<WPARAM>(pSocket->m_SocketData.hSocket)) return;
    const long nEvent = WSAGETSELECTEVENT(lParam);
    int nErrorCode = WSAGETSELECTERROR(lParam);
    switch (nEvent) {
    case FD_READ: {
        // A notice whose bytes were read meanwhile is stale.
        const int waiting = platform::InputWaiting(pSocket->m_SocketData.hSocket);
        if (waiting == SOCKET_ERROR) nErrorCode = WSAGetLastError();
        if (waiting > 0 || nErrorCode != 0) pSocket->OnReceive(nErrorCode);
        break;
    }
    case FD_WRITE:
        pSocket->OnSend(nErrorCode);
        break;
    case FD_ACCEPT:
        pSocket->OnAccept(nErrorCode);
        break;
    case FD_CONNECT:
        pSocket->OnConnect(nErrorCode);
        break;
    case FD_CLOSE:
        pSocket->OnClose(nErrorCode);
        break;
    case FD_FORCEREAD:
        pSocket->OnReceive(nErrorCode);
        break;
    default:
        break;
    }
}

void CAsyncSocketExHelperWindow::OnHostLookup(WPARAM wParam, LPARAM lParam) {
    const auto found = std::find_if(m_pAsyncSocketExWindowData.begin(), m_pAsyncSocketExWindowData.end(),
                                    [wParam](const CAsyncSocketEx* s) {
                                        return s && s->m_hAsyncGetHostByNameHandle != 0 &&
                                               s->m_hAsyncGetHostByNameHandle == wParam;
                                    });
    if (found == m_pAsyncSocketExWindowData.end()) return;
    CAsyncSocketEx* pSocket = *found;
    const auto* host = reinterpret_cast<const HOSTENT*>(pSocket->m_pAsyncGetHostByNameBuffer.get());
    int nErrorCode = WSAGETASYNCERROR(lParam);
    if (nErrorCode == 0 && !host->h_addr_list[0]) nErrorCode = WSANO_DATA;
    if (nErrorCode != 0) {
        pSocket->m_hAsyncGetHostByNameHandle = 0;
        pSocket->m_pAsyncGetHostByNameBuffer.reset();
        pSocket->OnConnect(nErrorCode);
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(pSocket->m_nAsyncGetHostByNamePort);
    std::memcpy(&address.sin_addr.s_addr, host->h_addr_list[0], sizeof address.sin_addr.s_addr);
    pSocket->m_hAsyncGetHostByNameHandle = 0;
    pSocket->m_pAsyncGetHostByNameBuffer.reset();
    if (!pSocket->Connect(reinterpret_cast<const sockaddr*>(&address), sizeof address)) {
        const int nConnectError = WSAGetLastError();
        if (nConnectError != WSAEWOULDBLOCK) pSocket->OnConnect(nConnectError);
    }
}
