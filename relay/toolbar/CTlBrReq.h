#pragma once
// One toolbar connection of the channel: reads 2-byte requests, answers
// queries and sends notices. Lives on the util thread; the server reaps it
// once its socket is closed.

#include <cstdint>

#include "common/ToolbarChannel.h"
#include "platform/CriticalSection.h"
#include "relay/listeners/CPendingBuffer.h"
#include "relay/sockets/CAsyncSocketEx.h"

class CTlBrReq : public CAsyncSocketEx {
public:
    // Notice bytes a toolbar may leave unread before it is dropped.
    static constexpr std::size_t kPendingLimit = 4096;

    CTlBrReq();
    ~CTlBrReq() override;

    int Notify_DataArrived(unsigned long total);
    int Notify_DataSent(unsigned long total);
    int Notify_StatusChange(short value);

    // CAsyncSocketEx
    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;
    void OnClose(int nErrorCode) override;

private:
    // False for a request that is not {0, 1..12}.
    bool HandleRequest();
    // Sends the notice whole, now or when the socket has room again.
    void SendNotice(const TOOLBAR_NOTICE& notice);
    void Drop();

    std::uint8_t m_Request[kToolbarRequestSize] = {};
    int m_nRequestBytes = 0;  // of the request being read
    CPendingBuffer m_Pending;
    bool m_bWriteBlocked = false;
    platform::CriticalSection m_NoticeCS;  // serialises the notices
};
