#pragma once
// The toolbar channel as the engine threads use it: the notifier side
// (any thread) hands totals and status changes to the util thread; the
// server side (util thread only) serves the toolbars.
//
// The default serves no toolbar. Its notifier side posts to the util
// thread as the channel does: status changes every time (none while
// shutting down), each total on the 1st, 6th, 11th... call while notices
// are enabled. The channel server takes its place with
// CBaseServer::SetToolbarChannel.

#include <atomic>

class IToolbarChannel {
public:
    virtual ~IToolbarChannel() = default;

    // Notifier side.
    virtual void EnableNotices(bool enable);
    virtual void SendDataIncoming(int total);
    virtual void SendDataOutgoing(int total);
    virtual void SendProxyStatusChange(unsigned state);

    // Server side, on the util thread.
    virtual bool StartServer() { return true; }
    virtual void StopServer() {}
    virtual void Broadcast_DataArrived(unsigned long) {}
    virtual void Broadcast_Sent(unsigned long) {}
    virtual void Broadcast_StatusChange(short) {}

private:
    std::atomic<bool> mSafeToSend{false};
    std::atomic<int> mTtlIncoming{0};
    std::atomic<int> mTtlOutgoing{0};
};
