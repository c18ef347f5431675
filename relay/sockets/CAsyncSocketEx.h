#pragma once
// The engine's one socket class. Socket notices become virtual calls
// (OnAccept, OnReceive, ...) on the thread that registered the socket,
// through that thread's hidden helper window; the thread's message loop
// must run for them to arrive. A socket is used and deleted on its thread.
//
// Results are nonzero for success; a failure leaves the WSA error for
// GetLastError.

#include <memory>
#include <string>

#include "platform/Messages.h"
#include "platform/SocketNotify.h"
#include "platform/Sockets.h"
#include "relay/sockets/AsyncSocketTypes.h"

class CAsyncSocketExHelperWindow;

class CAsyncSocketEx {
public:
    static constexpr long kAllEvents = platform::FD_READ | platform::FD_WRITE | platform::FD_OOB |
                                       platform::FD_ACCEPT | platform::FD_CONNECT | platform::FD_CLOSE;

    CAsyncSocketEx();
    virtual ~CAsyncSocketEx();
    // A socket owns its handle and lookup buffer; copies would share them.
    CAsyncSocketEx(const CAsyncSocketEx&) = delete;
    CAsyncSocketEx& operator=(const CAsyncSocketEx&) = delete;

    // Opens an IPv4 socket registered on the calling thread, selects
    // lEvent and binds it (address null: every local address). Fails with
    // WSAEALREADY (10037) when a handle is already held and
    // WSANOTINITIALISED (10093) when the thread cannot be registered.
    platform::BOOL Create(platform::UINT nSocketPort = 0, int nSocketType = SOCK_STREAM, long lEvent = kAllEvents,
                          const char* lpszSocketAddress = nullptr);

    // Accepts into rConnectedSocket, registered on the calling thread; the
    // caller then selects its events.
    virtual platform::BOOL Accept(CAsyncSocketEx& rConnectedSocket, sockaddr* lpSockAddr = nullptr,
                                  int* lpSockAddrLen = nullptr);
    virtual void Close();
    virtual platform::BOOL Connect(const sockaddr* lpSockAddr, int nSockAddrLen);
    // A dotted address connects at once. A name is looked up first, off
    // this thread: the call returns nonzero with WSAEWOULDBLOCK and the
    // connection goes on from the reply (OnConnect with the error when the
    // lookup or the connect fails).
    virtual platform::BOOL Connect(const char* lpszHostAddress, platform::UINT nHostPort);
    virtual int Receive(void* lpBuf, int nBufLen, int nFlags = 0);
    virtual int Send(const void* lpBuf, int nBufLen, int nFlags = 0);

    // Notification handlers; they do nothing here.
    virtual void OnAccept(int nErrorCode);
    virtual void OnClose(int nErrorCode);
    virtual void OnConnect(int nErrorCode);
    virtual void OnReceive(int nErrorCode);
    virtual void OnSend(int nErrorCode);

    // lpszSocketAddress null means any address; text that is not a dotted
    // address fails with WSAEINVAL.
    platform::BOOL Bind(platform::UINT nSocketPort, const char* lpszSocketAddress);
    platform::BOOL Bind(const sockaddr* lpSockAddr, int nSockAddrLen);
    platform::BOOL Listen(int nConnectionBacklog = 5);
    platform::BOOL ShutDown(int nHow = platform::SD_SEND);

    // Binds a handle made elsewhere (another thread) to this object on the
    // calling thread and selects lEvent. Rejects -1 and 0 (WSAENOTSOCK)
    // and registers nothing then; WSAEALREADY when a handle is held.
    platform::BOOL Attach(platform::SOCKET hSocket, long lEvent = kAllEvents);
    // Gives the handle up without closing it; -1 when none was held.
    platform::SOCKET Detach();
    platform::BOOL AsyncSelect(long lEvent = kAllEvents);
    // Posts a notice for this socket as if the system had sent it; the
    // code FD_FORCEREAD calls OnReceive even with no bytes waiting.
    platform::BOOL TriggerEvent(long lEvent);

    platform::BOOL GetPeerName(sockaddr* lpSockAddr, int* lpSockAddrLen);
    platform::BOOL GetPeerName(std::string& rPeerAddress, platform::UINT& rPeerPort);
    platform::BOOL GetSockName(sockaddr* lpSockAddr, int* lpSockAddrLen);
    platform::BOOL GetSockName(std::string& rSocketAddress, platform::UINT& rSocketPort);
    platform::BOOL GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel = SOL_SOCKET);
    platform::BOOL SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel = SOL_SOCKET);
    platform::BOOL IOCtl(long lCommand, platform::DWORD* lpArgument);

    platform::SOCKET GetSocketHandle() const { return m_SocketData.hSocket; }
    // True while a usable handle is held (never 0: descriptors 0-2 stay taken).
    bool HoldsHandle() const {
        return m_SocketData.hSocket != platform::INVALID_SOCKET && m_SocketData.hSocket != 0;
    }
    // Null while the object is not registered on a thread.
    platform::HWND GetHelperWindowHandle() const;

    static int GetLastError();

    // Registers the object on the calling thread (its thread record and
    // helper window); an object that holds no handle moves to the calling
    // thread when it was registered on another one.
    platform::BOOL InitAsyncSocketExInstance();
    void FreeAsyncSocketExInstance();

protected:
    friend class CAsyncSocketExHelperWindow;

    void Do_Close();
    platform::BOOL Do_ShutDown(int nHow);

    struct t_AsyncSocketExData {
        platform::SOCKET hSocket = platform::INVALID_SOCKET;
        int nSocketIndex = -1;  // slot in the thread's socket table
    } m_SocketData;
    long m_lEvent = 0;
    std::unique_ptr<char[]> m_pAsyncGetHostByNameBuffer;  // only while a lookup runs
    platform::ASYNCHANDLE m_hAsyncGetHostByNameHandle = 0;
    platform::WORD m_nAsyncGetHostByNamePort = 0;
    t_AsyncSocketExThreadData* m_pLocalAsyncSocketExThreadData = nullptr;

    static CCriticalSectionWrapper& m_sGlobalCriticalSection;
    static t_AsyncSocketExThreadDataList& m_spAsyncSocketExThreadDataList;

private:
    // Enters the held handle in the thread's table.
    bool AddToTable();
    void RemoveFromTable();
    void CancelHostLookup();
};
