#pragma once
// The client side of one local HTTP proxy connection (the browser's
// socket). It reads the browser's data, passes it through the outgoing
// filter and hands it to its embedded destination side; it sends what the
// destination side relays back, keeping what the browser cannot take yet
// (reading the upstream pauses until it drains).

#include <memory>
#include <string_view>

#include "platform/CriticalSection.h"
#include "relay/CCommonBase.h"
#include "relay/CPendingBuffer.h"
#include "relay/ChttpResponseSock.h"
#include "relay/IRelayClient.h"

class ChttpReqSock : public CCommonBase, public IRelayClient {
public:
    static constexpr int kBufferSize = 10241;
    // Bytes one client receive takes.
    static constexpr int kMaxReceive = 10140;

    ChttpReqSock();
    ~ChttpReqSock() override;

    ChttpResponseSock& Response() { return m_Response; }

    // IRelayClient
    void QueueToClient(std::string_view bytes) override;
    bool ClientFull() const override;
    bool ClientPendingEmpty() const override { return m_ToClient.Empty(); }
    void ResumeReading() override;
    void CloseClientSocket() override;

    // CAsyncSocketEx
    void Close() override;
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
    void OnClose(int nErrorCode) override;
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;

    // CCommonBase
    void Free_Objects() override;
    bool IsSafeToDelete() override;
    bool IsObjectKilled() override;
    void KillObject() override;

    void Free_Buffer();

private:
    // Sends what the client can take; false when the client failed.
    bool FlushToClient();
    SendFunction SendToClient();
    void SendBlockPage(unsigned id);

    platform::CriticalSection m_CS;
    ChttpResponseSock m_Response;
    std::unique_ptr<char[]> m_pBuffer;
    CPendingBuffer m_ToClient;
    bool m_bReadPaused = false;
    // A send would block: the write notice comes when there is room.
    bool m_bWriteBlocked = false;
};
