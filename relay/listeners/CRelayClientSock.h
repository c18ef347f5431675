#pragma once
// The client side of an HTTP, SOCKS or general-listener connection: it
// reads the client's blocks into its buffer and hands them to the
// destination side in use, and sends what that side relays back, keeping
// what the client cannot take yet (the upstream is not read meanwhile). The
// subclasses name the destination side and what a block means.

#include <memory>
#include <string_view>

#include "platform/CriticalSection.h"
#include "relay/listeners/CPendingBuffer.h"
#include "relay/listeners/CRelayServerSock.h"
#include "relay/listeners/IRelayClient.h"
#include "relay/upstream/CCommonBase.h"

class CRelayClientSock : public CCommonBase, public IRelayClient {
public:
    static constexpr int kBufferSize = 10241;

    // maxReceive: bytes one client receive takes.
    explicit CRelayClientSock(int maxReceive);
    ~CRelayClientSock() override;

    // IRelayClient
    void QueueToClient(std::string_view bytes) override;
    bool ClientFull() const override;
    bool ClientPendingEmpty() const override { return m_ToClient.Empty(); }
    void ResumeReading() override;
    void CloseClientSocket() override;
    void ShutDownClientSending() override;
    void KillObject() override;

    // CAsyncSocketEx
    // Closes both sides at once.
    void Close() override;
    // Counts the bytes sent into the toolbar's outgoing total.
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
    void OnClose(int nErrorCode) override;
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;

    void Free_Buffer();

protected:
    // The destination side in use; null before it is known.
    virtual CRelayServerSock* ServerSide() = 0;
    // One block of client data (room for a terminating zero byte follows
    // it); false stops reading for this notice.
    virtual bool OnClientBlock(char* data, int length) = 0;

private:
    // The client's end of stream; failed: its connection was reset or lost.
    void ClientEnded(bool failed);
    // Both sides close at once (also when a send to the client failed).
    void CloseConnection();
    // Sends what the client can take; false when the client failed.
    bool FlushToClient();
    SendFunction SendToClient();

    const int m_MaxReceive;
    platform::CriticalSection m_CS;
    std::unique_ptr<char[]> m_pBuffer;
    CPendingBuffer m_ToClient;
    bool m_bReadPaused = false;
    // The client ended its stream: nothing more is read.
    bool m_bEnded = false;
    // A send would block: the write notice comes when there is room.
    bool m_bWriteBlocked = false;
};
