#pragma once
// The toolbar channel's listening socket on 127.0.0.1, with one CTlBrReq
// per toolbar connection (in order of connection). Its socket and clients
// live on the util thread; the lock serialises Start and Stop.

#include <atomic>
#include <memory>
#include <vector>

#include "platform/CriticalSection.h"
#include "relay/sockets/CAsyncSocketEx.h"
#include "relay/toolbar/CTlBrReq.h"

class CToolbarSrvr : public CAsyncSocketEx {
public:
    static constexpr int kCreateAttempts = 11;
    static constexpr int kCreateRetryMs = 200;
    // Toolbar connections served at once; further ones are closed at once.
    static constexpr std::size_t kMaxClients = 32;

    CToolbarSrvr();
    ~CToolbarSrvr() override;

    // On failure shows the listening-error message box and returns false.
    bool Start();
    bool Stop();

    void Broadcast_DataArrived(unsigned long total);
    void Broadcast_Sent(unsigned long total);
    void Broadcast_StatusChange(short value);

    void ShutdownClientList();
    void FreeClientsList();

    // The port listened on; 0 while not listening.
    platform::UINT GetListeningPort() const { return m_nPort.load(); }

    // CAsyncSocketEx
    void OnAccept(int nErrorCode) override;

private:
    // Frees the clients whose socket was closed (by them or by the toolbar).
    void ReapClosedClients();
    template <typename F>
    void ForEachClient(F&& notify);

    std::vector<std::unique_ptr<CTlBrReq>> m_Clients;
    platform::CriticalSection m_StartStopCS;
    std::atomic<platform::UINT> m_nPort{0};
};
