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

#include <string>
#include <string_view>

#include "relay/filter/CScriptFilterState.h"
#include "relay/listeners/CRelayServerSock.h"
#include "relay/listeners/IRelayClient.h"

class ChttpResponseSock : public CRelayServerSock {
public:
    // Bytes one upstream receive takes (room stays for the filter).
    static constexpr int kMaxReceive = 10190;

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
    // One block the client sent, in the client side's buffer (room for a
    // terminating zero byte follows it): tunnel bytes pass unchanged, other
    // blocks pass the outgoing filter, then go to HandleHttpRequest or get
    // a block page. False stops reading the client for this notice.
    bool HandleClientBlock(char* data, int length);

    // Sends the failure answer, or a block page, then closes once it is
    // sent.
    void SendFailureAnswer() override;
    void SendBlockAnswer(std::string_view page);

protected:
    // CRelayServerSock
    void OpenRelay() override;
    // A plain response block passes the response filter.
    int TransformUpstreamBlock(char* buffer, int length) override;

private:
    void SendBlockPage(unsigned id);
    void StartSetup(const char* buffer, int length);
    // The rule of the road: relative when the request reaches the origin
    // server itself or a SOCKS proxy last.
    bool SendsRelative();
    // Queues a plain request block for the upstream, relative when the
    // rule says so.
    void QueueRequestBlock(char* data, int length);

    std::string m_Host;
    int m_Port = 80;
    bool m_bConnect = false;
    // The block HandleHttpRequest is working on.
    std::string_view m_RequestText;
    // The response filter's state for this upstream's bytes.
    CScriptFilterState m_ScriptState;
};
