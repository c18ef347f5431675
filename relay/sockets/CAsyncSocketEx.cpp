#include "relay/sockets/CAsyncSocketEx.h"

#include <arpa/inet.h>

#include <mutex>

#include "relay/sockets/CAsyncSocketExHelperWindow.h"

using namespace platform;

// Never destroyed: sockets that are statics of the engine release their
// registration while the library unloads.
CCriticalSectionWrapper& CAsyncSocketEx::m_sGlobalCriticalSection = *new CCriticalSectionWrapper;
t_AsyncSocketExThreadDataList& CAsyncSocketEx::m_spAsyncSocketExThreadDataList = *new t_AsyncSocketExThreadDataList;

namespace {

BOOL Failed(int error) {
    WSASetLastError(error);
    return false;
}

BOOL AddressText(const sockaddr_in& address, std::string& text, UINT& port) {
    const char* dotted = platform::inet_ntoa(address.sin_addr);
    if (!dotted) return false;
    text = dotted;
    port = ntohs(address.sin_port);
    return true;
}

}  // namespace

CAsyncSocketEx::CAsyncSocketEx() = default;

CAsyncSocketEx::~CAsyncSocketEx() {
    Do_Close();
    FreeAsyncSocketExInstance();
}

BOOL CAsyncSocketEx::InitAsyncSocketExInstance() {
    std::lock_guard lock(m_sGlobalCriticalSection);
    const DWORD thread = GetCurrentThreadId();
    if (m_pLocalAsyncSocketExThreadData) {
        const bool here = m_pLocalAsyncSocketExThreadData->nThreadId == thread &&
                          IsWindow(m_pLocalAsyncSocketExThreadData->m_pHelperWindow->GetHwnd());
        // A live entry ties the object to its thread; an idle object moves.
        if (here || m_SocketData.nSocketIndex != -1) return true;
        FreeAsyncSocketExInstance();
    }
    for (const auto& data : m_spAsyncSocketExThreadDataList) {
        // A record whose window is gone belongs to an ended thread whose id
        // the system may have given again.
        if (data->nThreadId == thread && IsWindow(data->m_pHelperWindow->GetHwnd())) {
            ++data->nInstanceCount;
            m_pLocalAsyncSocketExThreadData = data.get();
            return true;
        }
    }
    auto data = std::make_unique<t_AsyncSocketExThreadData>();
    data->nInstanceCount = 1;
    data->nThreadId = thread;
    data->m_pHelperWindow = std::make_unique<CAsyncSocketExHelperWindow>();
    if (!data->m_pHelperWindow->GetHwnd()) return false;
    m_pLocalAsyncSocketExThreadData = data.get();
    m_spAsyncSocketExThreadDataList.push_front(std::move(data));
    return true;
}

void CAsyncSocketEx::FreeAsyncSocketExInstance() {
    std::lock_guard lock(m_sGlobalCriticalSection);
    t_AsyncSocketExThreadData* data = m_pLocalAsyncSocketExThreadData;
    if (!data) return;
    m_pLocalAsyncSocketExThreadData = nullptr;
    if (--data->nInstanceCount == 0) {
        m_spAsyncSocketExThreadDataList.remove_if([data](const auto& entry) { return entry.get() == data; });
    }
}

HWND CAsyncSocketEx::GetHelperWindowHandle() const {
    if (!m_pLocalAsyncSocketExThreadData) return nullptr;
    return m_pLocalAsyncSocketExThreadData->m_pHelperWindow->GetHwnd();
}

bool CAsyncSocketEx::AddToTable() {
    return m_pLocalAsyncSocketExThreadData &&
           m_pLocalAsyncSocketExThreadData->m_pHelperWindow->AddSocket(this, m_SocketData.nSocketIndex);
}

void CAsyncSocketEx::RemoveFromTable() {
    if (m_pLocalAsyncSocketExThreadData) {
        m_pLocalAsyncSocketExThreadData->m_pHelperWindow->RemoveSocket(this, m_SocketData.nSocketIndex);
    }
}

void CAsyncSocketEx::CancelHostLookup() {
    // Cancelled before the buffer goes, so the lookup can never write into
    // freed memory.
    if (m_hAsyncGetHostByNameHandle) WSACancelAsyncRequest(m_hAsyncGetHostByNameHandle);
    m_hAsyncGetHostByNameHandle = 0;
    m_pAsyncGetHostByNameBuffer.reset();
}

BOOL CAsyncSocketEx::Create(UINT nSocketPort, int nSocketType, long lEvent, const char* lpszSocketAddress) {
    if (m_SocketData.hSocket != INVALID_SOCKET) return Failed(WSAEALREADY);
    if (!InitAsyncSocketExInstance()) return Failed(WSANOTINITIALISED);
    const SOCKET hSocket = platform::socket(AF_INET, nSocketType, 0);
    if (hSocket == INVALID_SOCKET) return false;
    m_SocketData.hSocket = hSocket;
    if (!AddToTable()) {
        platform::closesocket(hSocket);
        m_SocketData.hSocket = INVALID_SOCKET;
        return Failed(WSAENOBUFS);
    }
    if (!AsyncSelect(lEvent) || !Bind(nSocketPort, lpszSocketAddress)) {
        const int error = WSAGetLastError();
        Close();
        return Failed(error);
    }
    return true;
}

BOOL CAsyncSocketEx::Bind(UINT nSocketPort, const char* lpszSocketAddress) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(nSocketPort));
    if (!lpszSocketAddress) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
    } else {
        address.sin_addr.s_addr = platform::inet_addr(lpszSocketAddress);
        if (address.sin_addr.s_addr == INADDR_NONE_VALUE) return Failed(WSAEINVAL);
    }
    return Bind(reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

BOOL CAsyncSocketEx::Bind(const sockaddr* lpSockAddr, int nSockAddrLen) {
    return platform::bind(m_SocketData.hSocket, lpSockAddr, nSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::Listen(int nConnectionBacklog) {
    return platform::listen(m_SocketData.hSocket, nConnectionBacklog) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::Accept(CAsyncSocketEx& rConnectedSocket, sockaddr* lpSockAddr, int* lpSockAddrLen) {
    if (rConnectedSocket.m_SocketData.hSocket != INVALID_SOCKET) return Failed(WSAEALREADY);
    const SOCKET hSocket = platform::accept(m_SocketData.hSocket, lpSockAddr, lpSockAddrLen);
    if (hSocket == INVALID_SOCKET) return false;
    if (!rConnectedSocket.InitAsyncSocketExInstance()) {
        platform::closesocket(hSocket);
        return Failed(WSANOTINITIALISED);
    }
    rConnectedSocket.m_SocketData.hSocket = hSocket;
    if (!rConnectedSocket.AddToTable()) {
        platform::closesocket(hSocket);
        rConnectedSocket.m_SocketData.hSocket = INVALID_SOCKET;
        return Failed(WSAENOBUFS);
    }
    return true;
}

BOOL CAsyncSocketEx::Connect(const sockaddr* lpSockAddr, int nSockAddrLen) {
    return platform::connect(m_SocketData.hSocket, lpSockAddr, nSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::Connect(const char* lpszHostAddress, UINT nHostPort) {
    if (!lpszHostAddress) return Failed(WSAEINVAL);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(nHostPort));
    address.sin_addr.s_addr = platform::inet_addr(lpszHostAddress);
    if (address.sin_addr.s_addr != INADDR_NONE_VALUE) {
        return Connect(reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    CancelHostLookup();
    m_pAsyncGetHostByNameBuffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    m_nAsyncGetHostByNamePort = static_cast<WORD>(nHostPort);
    m_hAsyncGetHostByNameHandle = WSAAsyncGetHostByName(GetHelperWindowHandle(), WM_SOCKETEX_GETHOST, lpszHostAddress,
                                                        m_pAsyncGetHostByNameBuffer.get(), MAXGETHOSTSTRUCT);
    if (!m_hAsyncGetHostByNameHandle) {
        m_pAsyncGetHostByNameBuffer.reset();
        return false;
    }
    WSASetLastError(WSAEWOULDBLOCK);
    return true;
}

int CAsyncSocketEx::Receive(void* lpBuf, int nBufLen, int nFlags) {
    return platform::recv(m_SocketData.hSocket, static_cast<char*>(lpBuf), nBufLen, nFlags);
}

int CAsyncSocketEx::Send(const void* lpBuf, int nBufLen, int nFlags) {
    return platform::send(m_SocketData.hSocket, static_cast<const char*>(lpBuf), nBufLen, nFlags);
}

void CAsyncSocketEx::Close() {
    Do_Close();
}

void CAsyncSocketEx::Do_Close() {
    if (m_SocketData.hSocket != INVALID_SOCKET) {
        // Closing drops the socket's registration and its queued notices.
        platform::closesocket(m_SocketData.hSocket);
        RemoveFromTable();
        m_SocketData.hSocket = INVALID_SOCKET;
    }
    CancelHostLookup();
}

BOOL CAsyncSocketEx::ShutDown(int nHow) {
    return Do_ShutDown(nHow);
}

BOOL CAsyncSocketEx::Do_ShutDown(int nHow) {
    return platform::shutdown(m_SocketData.hSocket, nHow) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::Attach(SOCKET hSocket, long lEvent) {
    if (hSocket == INVALID_SOCKET || hSocket == 0) return Failed(WSAENOTSOCK);
    if (m_SocketData.hSocket != INVALID_SOCKET) return Failed(WSAEALREADY);
    if (!InitAsyncSocketExInstance()) return Failed(WSANOTINITIALISED);
    m_SocketData.hSocket = hSocket;
    if (!AddToTable()) {
        m_SocketData.hSocket = INVALID_SOCKET;
        return Failed(WSAENOBUFS);
    }
    return AsyncSelect(lEvent);
}

SOCKET CAsyncSocketEx::Detach() {
    const SOCKET hSocket = m_SocketData.hSocket;
    RemoveFromTable();
    m_SocketData.hSocket = INVALID_SOCKET;
    return hSocket;
}

BOOL CAsyncSocketEx::AsyncSelect(long lEvent) {
    if (m_SocketData.hSocket == INVALID_SOCKET || m_SocketData.nSocketIndex < 0) return Failed(WSAENOTSOCK);
    m_lEvent = lEvent;
    return WSAAsyncSelect(m_SocketData.hSocket, GetHelperWindowHandle(),
                          WM_SOCKETEX_NOTIFY + static_cast<UINT>(m_SocketData.nSocketIndex), lEvent) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::TriggerEvent(long lEvent) {
    if (m_SocketData.hSocket == INVALID_SOCKET || m_SocketData.nSocketIndex < 0) return Failed(WSAENOTSOCK);
    return PostMessage(GetHelperWindowHandle(), WM_SOCKETEX_NOTIFY + static_cast<UINT>(m_SocketData.nSocketIndex),
                       static_cast<WPARAM>(m_SocketData.hSocket), lEvent % 0xFFFF);
}

BOOL CAsyncSocketEx::GetPeerName(sockaddr* lpSockAddr, int* lpSockAddrLen) {
    return platform::getpeername(m_SocketData.hSocket, lpSockAddr, lpSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::GetPeerName(std::string& rPeerAddress, UINT& rPeerPort) {
    sockaddr_in address{};
    int length = sizeof address;
    if (!GetPeerName(reinterpret_cast<sockaddr*>(&address), &length)) return false;
    return AddressText(address, rPeerAddress, rPeerPort);
}

BOOL CAsyncSocketEx::GetSockName(sockaddr* lpSockAddr, int* lpSockAddrLen) {
    return platform::getsockname(m_SocketData.hSocket, lpSockAddr, lpSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::GetSockName(std::string& rSocketAddress, UINT& rSocketPort) {
    sockaddr_in address{};
    int length = sizeof address;
    if (!GetSockName(reinterpret_cast<sockaddr*>(&address), &length)) return false;
    return AddressText(address, rSocketAddress, rSocketPort);
}

BOOL CAsyncSocketEx::GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel) {
    return platform::getsockopt(m_SocketData.hSocket, nLevel, nOptionName, static_cast<char*>(lpOptionValue),
                                lpOptionLen) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel) {
    return platform::setsockopt(m_SocketData.hSocket, nLevel, nOptionName, static_cast<const char*>(lpOptionValue),
                                nOptionLen) != SOCKET_ERROR;
}

BOOL CAsyncSocketEx::IOCtl(long lCommand, DWORD* lpArgument) {
    return platform::ioctlsocket(m_SocketData.hSocket, static_cast<unsigned long>(lCommand), lpArgument) !=
           SOCKET_ERROR;
}

int CAsyncSocketEx::GetLastError() {
    return WSAGetLastError();
}

void CAsyncSocketEx::OnAccept(int) {}
void CAsyncSocketEx::OnClose(int) {}
void CAsyncSocketEx::OnConnect(int) {}
void CAsyncSocketEx::OnReceive(int) {}
void CAsyncSocketEx::OnSend(int) {}
