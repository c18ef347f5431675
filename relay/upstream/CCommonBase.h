#pragma once
// The base of every per-connection socket of the local listeners. When a
// client names a destination, the connection starts one short-lived
// chain-setup worker that builds the upstream connection with bounded,
// blocking calls: a chain from the pool hop by hop (HTTP CONNECT, SOCKS4,
// SOCKS5), then a private proxy, a chain from the public lists, or the
// destination directly (through the firewall proxy when there is one).
//
// Threads: the object lives on the thread that owns its sockets (the
// proxy-server thread). The worker works on a plain handle of its own and
// never touches a socket that thread owns. Every outcome ends with
// WM_RELAY_ATTACH_SOCKET posted to the thread that started the setup
// (wParam the connected socket or -1, lParam this object); that thread
// attaches the socket, calls OnCreateConnection(true or false) and then
// SetSafeToDelete(). Only when the post cannot be made does the worker
// close the socket and signal safe-to-delete itself, as its last touch of
// the object.
//
// Every wait of the worker is bounded (connect 5000 ms, send and receive
// 2000 ms) and also ends at once when CProxyServer::mStopEvent is set or
// the object is killed; either unwinds the worker by a thrown bool.

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/Event.h"
#include "platform/SocketHandle.h"
#include "platform/Thread.h"
#include "platform/Types.h"
#include "relay/pool/CChainSettings.h"
#include "relay/pool/CProxyChain.h"
#include "relay/pool/eConnectionStatus.h"
#include "relay/pool/eRequestType.h"
#include "relay/sockets/CAsyncSocketEx.h"

class CProxy;
class CUpstreamHandshake;

// Outcome of one TimeOutRecv.
enum eRecvStatus : int {
    RECV_DATA = 0,
    RECV_TIMEOUT = 1,
    RECV_ERROR = 2,  // an error, or the peer closed
};

class CCommonBase : public CAsyncSocketEx {
public:
    static constexpr std::size_t kMaxHostName = 100;

    CCommonBase();
    // Waits (bounded) for a setup that still runs; the object must not be
    // deleted before IsSafeToDelete.
    ~CCommonBase() override;

    // Slots appended to the socket's own.
    virtual void Free_Objects() {}
    // The upstream is attached (true) or the setup failed (false); runs on
    // the thread that started the setup. The subclasses answer their client.
    virtual void OnCreateConnection(bool) {}
    virtual bool IsSafeToDelete();
    virtual bool IsObjectKilled();
    virtual void KillObject();

    // What the setup connects to; set by the subclass before
    // StartChainSetupThread. A host name (at most kMaxHostName characters
    // and no zero byte, other ones fail the setup) is resolved by the worker
    // when no address is set; a port outside 1..65535 fails the setup.
    void SetRequest(const char* data, int length);
    void SetDestinationHost(const std::string& host);
    const std::string& GetDestinationHost() const { return m_HostName; }
    void SetDestinationAddress(platform::DWORD networkOrder) { m_DestinationAddress = networkOrder; }
    platform::DWORD GetDestinationAddress() const { return m_DestinationAddress; }
    void SetDestinationPort(int port);
    // Host order; 0 when none or out of range.
    int GetDestinationPort() const;
    void SetTunnel(bool tunnel) { m_bTunnel = tunnel; }
    bool GetTunnel() const { return m_bTunnel; }
    void SetRequestType(eRequestType type) { m_RequestType = type; }
    eRequestType GetRequestType() const { return m_RequestType; }
    bool GetFirstData() const { return m_bFirstData; }
    void SetFirstData(bool first) { m_bFirstData = first; }

    // Copies the request, resets the safe-to-delete event and starts the
    // worker. False when a setup of this object still runs or no thread can
    // be made.
    bool StartChainSetupThread();
    // The request kept for the attach step, and its release.
    const std::string& GetRequestCopy() const { return m_RequestCopy; }
    void FreeRequestCopy();
    // Bytes the last proxy sent past its success reply; they go to the
    // client right after the success answer. Read on the attach.
    std::string TakeUpstreamSurplus();
    // The upstream ends at an HTTP proxy that takes the client's request as
    // it is (no CONNECT to the destination), so a plain request keeps its
    // absolute target; through a tunnel or a SOCKS hop, or directly, the
    // origin gets the path. Set by the setup, read after the hand-over.
    bool UpstreamTakesAbsoluteForm() const { return m_bAbsoluteForm; }
    // The chain that the upstream socket goes through (connected hops).
    CProxyChain& GetChain() { return m_Chain; }
    // The chain settings the current setup works with (taken when it starts).
    CChainSettings& GetChainSettings() { return m_ChainSettings; }
    void SetSafeToDelete();

    // Worker entry and the fallback policy: 1 when the connected socket was
    // handed over, 0 otherwise.
    int ExConnectToServer();
    int ConnectToServer(const char* host, int port, bool tunnel, eRequestType request);

    platform::SOCKET SConnect(platform::SOCKET& s, const char* host, int port, bool tunnel);
    platform::SOCKET SConnect(platform::SOCKET& s, platform::DWORD address, int port, bool tunnel);
    void ConnectFromChainToHost(platform::SOCKET& s, CProxy& destination, bool tunnel);
    // The direct road; through the firewall proxy when the settings have
    // one. tunnel: the client's bytes must pass unchanged.
    platform::SOCKET ConnectToHost(CProxy& destination, bool tunnel);
    // Over s, connected to first, asks first for a connection to second in
    // protocol type (1: first's own type). A failed handshake is refined by
    // testing first on a connection of its own: 2 when it still works (the
    // next is at fault), else 1.
    eConnectionStatus ConnectFromTo(CProxy& first, CProxy& second, platform::SOCKET& s, int type);

    // A bounded non-blocking connect; s is -1 after a failure.
    bool Connect(platform::SOCKET& s, const char* address, int port);
    // Shuts the socket down both ways and closes it; s becomes -1.
    static void Abort(platform::SOCKET& s);
    // One receive within timeOut ms; the byte count or -1.
    int TimeOutRecv(platform::SOCKET& s, char* buffer, int length, platform::DWORD timeOut,
                    eRecvStatus& status);

    // The client handshakes. Address in network order, port in host order;
    // responseTime: ms from the last request sent to the decision. On
    // failure the socket is closed and -1.
    eConnectionStatus ConnectSOCKS4(platform::SOCKET& s, platform::DWORD address, int port,
                                    platform::DWORD& responseTime);
    eConnectionStatus ConnectSOCKS5(platform::SOCKET& s, platform::DWORD address, int port,
                                    platform::DWORD& responseTime);
    eConnectionStatus ConnectHTTPT(platform::SOCKET& s, const char* host, int port,
                                   platform::DWORD& responseTime);

    // One ICMP echo to host (a name or a dotted address); true on an answer.
    static bool Ping(const char* host);
    // True when the system has a connection and it is not offline.
    static bool IsInternetAvilable();

    // 0 when the proxy works.
    int TestProxyServer(CProxy& proxy);
    int TestHttpServer(CProxy& proxy);
    int TestHttpsServer(CProxy& proxy);
    int TestSocks4Server(CProxy& proxy);
    int TestSocks5Server(CProxy& proxy);

    // Throws false once the object is killed.
    void CheckIsKilled();
    int GetConnectionTimeOut() const { return m_ConnectionTimeOut; }
    int GetSendRecvTimeOut() const { return m_SendRecvTimeOut; }

    void UpdateChainLog(const char* text);
    void UpdateChainBallon();
    void LogFailedConnectToDestinationServer(const char* host);

private:
    // The worker: runs the setup and hands its outcome over. Exit code 0,
    // -1 without an object.
    static platform::DWORD ChainSetupThreadProc(CCommonBase* object);
    // Posts the outcome to the owning thread; closes and releases when no
    // post can be made.
    void HandOver(platform::SOCKET s);
    bool WantsChain();
    // Sends all of bytes within the send/receive time-out.
    bool SendAll(platform::SOCKET& s, const std::string& bytes);
    // Drives a handshake parser over s; replies at most maxRead bytes a
    // read, each whole reply within the send/receive time-out.
    eConnectionStatus Drive(platform::SOCKET& s, CUpstreamHandshake& handshake, int maxRead,
                            platform::DWORD& responseTime, std::string* surplus);
    int RunProbe(CProxy& proxy, CUpstreamHandshake& probe, int maxRead);
    // Waits until s is readable (or, with write, writable or connected),
    // within ms. The stop event and the kill event abort s and throw false.
    // False on time-out or failure.
    bool WaitFor(platform::SOCKET& s, bool write, platform::DWORD ms);

    const char* m_pRequest = nullptr;
    int m_RequestLength = 0;
    CProxyChain m_Chain;
    bool m_bFirstData = false;
    std::string m_RequestCopy;
    int m_ConnectionTimeOut = 5000;
    int m_SendRecvTimeOut = 2000;
    platform::DWORD m_DestinationAddress = 0;     // network order
    std::uint16_t m_DestinationPort = 0;          // network order
    bool m_bTunnel = false;
    std::string m_HostName;
    bool m_bHostNameRefused = false;
    eRequestType m_RequestType = REQUEST_HTTP;
    platform::Event m_SafeToDelete{true, true};
    std::atomic<bool> m_Killed{false};
    // Wakes the worker's waits when the object is killed.
    platform::Event m_KillEvent{true, false};

    // Worker-side state, written only while a setup runs.
    CChainSettings m_ChainSettings;
    std::string m_UpstreamSurplus;
    bool m_bAbsoluteForm = false;
    platform::DWORD m_OwnerThreadId = 0;
    platform::Thread m_SetupThread;
};
