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
// or Tunnel (bytes pass unchanged both ways) -> Closing (only what the
// client still has to take goes out) -> Closed.
//
// Either side may end its stream first and still read. A client that ends
// its stream after its request gets the whole answer: what it sent goes
// upstream, the upstream's sending side is shut down, and the answer
// reaches the client until the upstream ends. In a tunnel the upstream's
// end reaches the client the same way, and the client may go on sending;
// both close once both streams ended and every byte was taken. A plain
// HTTP connection ends with the upstream's end.

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
    // The client ended its stream: a running setup or an open relay goes on
    // (see above); a connection without a request closes.
    virtual void ClientClosed();
    // The client has room again: read the upstream if it was paused.
    void ResumeReading();
    // Closes both sides at once and kills both objects (they are reaped).
    void CloseBoth();
    // After bytes were taken: passes an ended stream on once the other side
    // took every byte of it, and closes both when nothing is left to do.
    void AdvanceClosing();

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
    // The state becomes SettingUp for a new upstream.
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
    // The upstream ended its stream (failed: it was reset or lost).
    void ServerClosed(bool failed);
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
    // Each stream's end: seen, and passed on to the other side.
    bool m_bClientDone = false;
    bool m_bServerDone = false;
    bool m_bUpstreamShut = false;
    bool m_bClientShut = false;
};
