#pragma once
// The destination side of one local SOCKS connection: takes the client's
// greeting and request (the subclass parses them), starts the chain setup
// for the destination, answers once the upstream is attached, then relays
// bytes unchanged both ways. Embedded in its client side (its owner); every
// call runs on the proxy-server thread.
//
// The life of a connection: Handshake (the request is not whole yet) ->
// SettingUp (one setup at a time; client bytes are kept, bounded) -> Tunnel
// (after the success reply) -> Closing (flushing what one side still has
// to take) -> Closed. A failure answers the protocol's failure reply and
// closes.

#include <memory>
#include <string>
#include <string_view>

#include "platform/CriticalSection.h"
#include "relay/CCommonBase.h"
#include "relay/CPendingBuffer.h"
#include "relay/IRelayClient.h"
#include "relay/SocksStep.h"

class CSocksRelaySock : public CCommonBase {
public:
    static constexpr int kBufferSize = 10241;
    // Bytes one upstream receive takes.
    static constexpr int kMaxReceive = 10239;

    enum class eLegState { Handshake, SettingUp, Tunnel, Closing, Closed };

    CSocksRelaySock(IRelayClient* owner, eRequestType type);
    ~CSocksRelaySock() override;

    // One block of client data, in any state.
    void HandleClientData(const char* data, int length);
    eLegState GetState() const { return m_State; }
    // True while client data must wait: the upstream (or the running setup)
    // holds the limit already.
    bool UpstreamFull() const;
    // The client ended its stream: an unfinished request gets the failure
    // reply; a tunnel flushes what the upstream still has to take; then both
    // close.
    void ClientClosed();
    // The client has room again: read the upstream if it was paused.
    void ResumeReading();
    // Closes both sides at once and kills both objects (they are reaped).
    void CloseBoth();
    // Closing ends when neither side has bytes to take.
    void FinishClosingIfDone();

    // CAsyncSocketEx
    void Close() override;
    // Counts the bytes received into the toolbar's incoming total; nothing
    // while the engine shuts down.
    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    void OnClose(int nErrorCode) override;
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;

    // CCommonBase
    void OnCreateConnection(bool ok) override;

    void Free_Buffer();

protected:
    // The request parser of the protocol.
    virtual SocksStep ParseRequest(std::string_view bytes) = 0;
    virtual std::string SuccessReply() = 0;
    // The failure reply of the current stage.
    virtual std::string FailureReply() = 0;

private:
    void StartSetup(const SocksStep& request);
    // Sends the reply, then closes once the client took it.
    void SendFailureAnswer(std::string_view reply);
    void QueueToServer(std::string_view bytes);
    // Sends what the upstream can take; false when the upstream failed.
    bool FlushToServer();
    SendFunction SendToServer();
    void ServerClosed();

    IRelayClient* m_pOwner;
    const eRequestType m_Type;
    platform::CriticalSection m_CS;
    std::unique_ptr<char[]> m_pBuffer;
    eLegState m_State = eLegState::Handshake;
    CPendingBuffer m_ToServer;
    bool m_bReadPaused = false;
    // A send would block: the write notice comes when there is room.
    bool m_bWriteBlocked = false;
    // The upstream has sent its last byte; the client still takes the rest.
    bool m_bServerDone = false;
};
