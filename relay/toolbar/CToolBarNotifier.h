#pragma once
// The front end through which the engine's threads hand traffic totals and
// status changes to the util thread, which broadcasts them to the toolbars.

#include <atomic>
#include <cstdint>

class CToolBarNotifier {
public:
    virtual ~CToolBarNotifier() = default;

    // The proxy-server thread enables notices when a server start begins
    // and disables them at the end of a stop.
    static void Start();
    static void Stop();

    // Post the 1st, 6th, 11th... total while notices are enabled.
    static bool SendDataIncoming(int total);
    static bool SendDataOutgoing(int total);
    // Posts every change, except while the engine shuts down.
    static int SendProxyStatusChange(unsigned state);

    static std::atomic<bool> mSafeToSend;
    static std::atomic<std::int32_t> mTtlIncoming;
    static std::atomic<std::int32_t> mTtlOutgoing;
};
