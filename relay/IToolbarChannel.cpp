#include "relay/IToolbarChannel.h"

#include "relay/CProxyServer.h"
#include "relay/CUtilThread.h"
#include "relay/EngineMessages.h"

namespace {

// Posts the 1st, 6th, 11th... total: the counter runs 0, 1, 2, 3, 4, 0...
void PostEveryFifth(std::atomic<int>& counter, platform::UINT message, int total) {
    const int seen = counter.load();
    counter.store(seen == 4 ? 0 : seen + 1);
    if (seen == 0) {
        CUtilThread::PostToThread(message, static_cast<platform::WPARAM>(static_cast<std::uint32_t>(total)), 0);
    }
}

}  // namespace

void IToolbarChannel::EnableNotices(bool enable) { mSafeToSend.store(enable); }

void IToolbarChannel::SendDataIncoming(int total) {
    if (mSafeToSend.load()) PostEveryFifth(mTtlIncoming, WM_RELAY_TOOLBAR_DATA_IN, total);
}

void IToolbarChannel::SendDataOutgoing(int total) {
    if (mSafeToSend.load()) PostEveryFifth(mTtlOutgoing, WM_RELAY_TOOLBAR_DATA_OUT, total);
}

void IToolbarChannel::SendProxyStatusChange(unsigned state) {
    if (!CProxyServer::m_bShuttingDown.load()) CUtilThread::PostToThread(WM_RELAY_TOOLBAR_STATUS, state, 0);
}
