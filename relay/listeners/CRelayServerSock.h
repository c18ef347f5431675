#pragma once
// The destination side's relaying, shared by the HTTP and the SOCKS
// destination sides: bytes for the upstream (sent now or kept, bounded),
// the upstream's read loop towards the client side (paused while the client
// is behind) and the closing of both sides. The subclasses parse what the
// client sends, start the setup and open the relay once the upstream is
// attached. Every call runs on the proxy-server thread.
//
// The life of a connection: Idle (no whole request yet) -> SettingUp (one
// setup at a time; client bytes are kept, bounded) -> Relaying (plain HTTP)
// or Tunnel (bytes pass unchanged both ways) -> Closing (flushing what one
// side still has to take) -> Closed.

#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/CriticalSection.h"
#include "relay/listeners/CPendingBuffer.h"
#include "relay/listeners/IRelayClient.h"
#include "relay/upstream/CCommonBase.h"

class CRelayServerSock : public CCommonBase {
public:
    static constexpr int kBufferSize = 10241;
    // Bytes kept for a side before the other side is no longer read.
    static constexpr std::size_t kPendingLimit = 256 * 1024;

    enum class eLegState { Idle, SettingUp, Relaying, Tunnel, Closing, Closed };

    // maxReceive: bytes one upstream receive takes.
    CRelayServerSock(IRelayClient* owner, int maxReceive);
    ~CRelayServerSock() override;

    eLegState GetState() const { return m_State; }
    // True while client data must wait: the upstream (or the running setup)
    // holds the limit already, or the subclass holds the client's bytes.
    virtual bool UpstreamFull() const;
    // The client closed: an open relay flushes what the upstream still has
    // to take, then both close (a running setup is abandoned).
    virtual void ClientClosed();
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
    // The answer of a failed setup, then closing once the client took it.
    virtual void SendFailureAnswer() = 0;
    // The upstream is attached: answer the client and queue what goes first;
    // the state becomes Relaying or Tunnel.
    virtual void OpenRelay() = 0;
    // One block the upstream sent: queues what goes to the client (as it
    // is, here). False ends the relay once the client took what was queued.
    virtual bool RelayUpstreamBlock(char* buffer, int length);
    // The upstream ended its stream while relaying: the last bytes kept back
    // for the client go now.
    virtual void UpstreamEnded() {}

    void SetState(eLegState state) { m_State = state; }
    IRelayClient& Owner() const { return *m_pOwner; }
    // The state becomes SettingUp; the upstream has not ended.
    void BeginSetup();
    // Sends the answer to the client, closes the upstream, then closes once
    // the client took it.
    void AnswerAndClose(std::string_view answer);
    // Drops the upstream and what it still had to take.
    void DropUpstream();
    // What waits for the upstream, leaving nothing there.
    CPendingBuffer TakeToServer();
    void QueueToServer(std::string_view bytes);

private:
    // Sends what the upstream can take; false when the upstream failed.
    bool FlushToServer();
    SendFunction SendToServer();
    void ServerClosed();
    bool Open() const { return m_State == eLegState::Relaying || m_State == eLegState::Tunnel; }

    IRelayClient* m_pOwner;
    const int m_MaxReceive;
    platform::CriticalSection m_CS;
    std::unique_ptr<char[]> m_pBuffer;
    eLegState m_State = eLegState::Idle;
    CPendingBuffer m_ToServer;
    bool m_bReadPaused = false;
    // A send would block: the write notice comes when there is room.
    bool m_bWriteBlocked = false;
    // The upstream has sent its last byte; the client still takes the rest.
    bool m_bServerDone = false;
};
