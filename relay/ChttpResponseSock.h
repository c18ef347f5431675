#pragma once
// The destination side of one local HTTP proxy connection: parses the
// client's request, starts the chain setup for its destination, and once
// the upstream socket is attached sends the stored request (or answers a
// CONNECT) and relays both ways. Embedded in its client side (a ChttpReqSock
// or a CGeneralReqSock, its owner); every call runs on the proxy-server
// thread.
//
// The life of a connection: Idle (no request yet) -> SettingUp (one setup
// at a time; client data is kept, bounded) -> Relaying (plain HTTP) or
// Tunnel (after the CONNECT answer: bytes pass unchanged both ways) ->
// Closing (flushing what one side still has to take) -> Closed.

#include <memory>
#include <string>
#include <string_view>

#include "platform/CriticalSection.h"
#include "relay/CCommonBase.h"
#include "relay/CPendingBuffer.h"
#include "relay/CScriptFilterState.h"
#include "relay/IRelayClient.h"

class ChttpResponseSock : public CCommonBase {
public:
    static constexpr int kBufferSize = 10241;
    // Bytes one upstream receive takes (room stays for the filter).
    static constexpr int kMaxReceive = 10190;
    // Bytes kept for a side before the other side is no longer read.
    static constexpr std::size_t kPendingLimit = 256 * 1024;

    enum class eLegState { Idle, SettingUp, Relaying, Tunnel, Closing, Closed };

    explicit ChttpResponseSock(IRelayClient* owner);
    ~ChttpResponseSock() override;

    // One block of client data (filtered already, zero-terminated): a new
    // request starts a setup; data for an open connection goes upstream.
    // 1 when the connection was closed, else 0.
    int HandleHttpRequest(char* buffer, int& length);
    // Fills the destination host, port and CONNECT flag from the request
    // text of the last HandleHttpRequest.
    void ExtractRequestInfo();
    // Makes an absolute request line relative in place; the caller drops
    // the leading blanks (the length is not changed). True when rewritten.
    bool MakeRequestRelative(char* buffer, int& length);
    // Answers a CONNECT whose tunnel is open.
    void SendConnectionSuccess(const char* host);

    // Client bytes of an open CONNECT tunnel, unchanged.
    void ForwardTunnelData(const char* data, int length);
    eLegState GetState() const { return m_State; }
    // True while client data must wait: the upstream (or the running setup)
    // holds the limit already.
    bool UpstreamFull() const;
    // The client closed: flush what the upstream still has to take, then
    // close both (a running setup is abandoned).
    void ClientClosed();
    // The client has room again: read the upstream if it was paused.
    void ResumeReading();
    // Closes both sides at once and kills both objects (they are reaped).
    void CloseBoth();

    // Sends the failure answer, or a block page, then closes once it is
    // sent.
    void SendFailureAnswer();
    void SendBlockAnswer(std::string_view page);
    // Closing ends when neither side has bytes to take.
    void FinishClosingIfDone();

    // CAsyncSocketEx
    void Close() override;
    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    void OnClose(int nErrorCode) override;
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;

    // CCommonBase
    void OnCreateConnection(bool ok) override;

    void Free_Buffer();

private:
    void StartSetup(const char* buffer, int length);
    // The rule of the road: relative when the request reaches the origin
    // server itself or a SOCKS proxy last.
    bool SendsRelative();
    // Queues a plain request block for the upstream, relative when the
    // rule says so.
    void QueueRequestBlock(char* data, int length);
    void QueueToServer(std::string_view bytes);
    // Sends what the upstream can take; false when the upstream failed.
    bool FlushToServer();
    SendFunction SendToServer();
    void ServerClosed();

    IRelayClient* m_pOwner;
    platform::CriticalSection m_CS;
    std::unique_ptr<char[]> m_pBuffer;
    std::string m_Host;
    int m_Port = 80;
    bool m_bConnect = false;
    // The block HandleHttpRequest is working on.
    std::string_view m_RequestText;
    eLegState m_State = eLegState::Idle;
    CPendingBuffer m_ToServer;
    bool m_bReadPaused = false;
    // A send would block: the write notice comes when there is room.
    bool m_bWriteBlocked = false;
    // The upstream has sent its last byte; the client still takes the rest.
    bool m_bServerDone = false;
    // The response filter's state for this upstream's bytes.
    CScriptFilterState m_ScriptState;
};
