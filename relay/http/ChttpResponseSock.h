#pragma once
// The destination side of one local HTTP proxy connection: frames what the
// client sends (CRequestFramer), passes each request head through the
// outgoing filter and the bodies as they are, starts the chain setup for a
// head's destination, and once the upstream socket is attached sends the
// stored request (or answers a CONNECT) and relays both ways, the responses
// through CHttpResponseStream and the incoming filter. Embedded in its
// client side (a ChttpReqSock or a CGeneralReqSock, its owner); every call
// runs on the proxy-server thread.
//
// The life of a connection: Idle (no request yet) -> SettingUp (one setup
// at a time; body bytes are kept, bounded; a further request waits with
// reading paused) -> Relaying (plain HTTP) or Tunnel (after the CONNECT
// answer or a switch of protocols: bytes pass unchanged both ways) ->
// Closing (flushing what one side still has to take) -> Closed.

#include <string>
#include <string_view>

#include "relay/filter/CScriptFilterState.h"
#include "relay/http/CHttpResponseStream.h"
#include "relay/http/CRequestFramer.h"
#include "relay/listeners/CRelayServerSock.h"
#include "relay/listeners/IRelayClient.h"

class ChttpResponseSock : public CRelayServerSock, private IResponseFilter {
public:
    // Bytes one upstream receive takes.
    static constexpr int kMaxReceive = 10190;

    explicit ChttpResponseSock(IRelayClient* owner);
    ~ChttpResponseSock() override;

    // One whole request head (filtered already, zero-terminated): a new
    // destination starts a setup; a head for the open upstream goes there.
    // 1 when the connection was closed, else 0.
    int HandleHttpRequest(char* buffer, int& length);
    // Fills the destination host, port and CONNECT flag from the request
    // head of the last HandleHttpRequest.
    void ExtractRequestInfo();
    // Makes an absolute request line relative in place; the caller drops
    // the leading blanks (the length is not changed). True when rewritten.
    bool MakeRequestRelative(char* buffer, int& length);
    // Answers a CONNECT whose tunnel is open.
    void SendConnectionSuccess(const char* host);

    // Client bytes of an open CONNECT tunnel, unchanged.
    void ForwardTunnelData(const char* data, int length);
    // One block the client sent, as read: tunnel bytes pass unchanged; the
    // rest is framed (heads through the outgoing filter, then
    // HandleHttpRequest or an answer; bodies as they are). False stops
    // reading the client for this notice.
    bool HandleClientBlock(char* data, int length);

    // Sends the failure answer, or a block page, then closes once it is
    // sent.
    void SendFailureAnswer() override;
    void SendBlockAnswer(std::string_view page);

    // CRelayServerSock
    bool UpstreamFull() const override;

protected:
    // CRelayServerSock
    void OpenRelay() override;
    bool RelayUpstreamBlock(char* buffer, int length) override;
    void UpstreamEnded() override;

private:
    // IResponseFilter
    bool StartBody(std::string_view head) override;
    std::size_t FilterBody(char* text, std::size_t size, bool last) override;

    // The client's bytes through the framer; false once the connection
    // closes.
    bool TakeClientBytes(std::string_view input);
    // One request head from the framer: the outgoing filter's verdict.
    bool OnRequestHead(std::string_view head);
    // The request that waited for the setup before it.
    void ReleaseHeldRequest();
    void SendBlockPage(unsigned id);
    void StartSetup(const char* buffer, int length);
    // Queues a request head for the upstream, relative unless the upstream
    // is an HTTP proxy that takes it as it is; its answer is the next
    // response expected.
    void SendRequestHead(char* data, int length);

    std::string m_Host;
    int m_Port = 80;
    bool m_bConnect = false;
    // The head HandleHttpRequest is working on.
    std::string_view m_RequestText;
    // The response filter's state for this upstream's bytes.
    CScriptFilterState m_ScriptState;
    CRequestFramer m_Requests;
    CHttpResponseStream m_Responses{*this};
    // The head being filtered, in place.
    std::string m_Head;
    // A request that came while a setup ran, and the bytes after it: it
    // waits until that setup's road is known.
    bool m_bHeld = false;
    std::string m_HeldHead;
    std::string m_HeldBytes;
};
