#include "relay/toolbar/CToolBarNotifier.h"

#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"

std::atomic<bool> CToolBarNotifier::mSafeToSend{false};
std::atomic<std::int32_t> CToolBarNotifier::mTtlIncoming{0};
std::atomic<std::int32_t> CToolBarNotifier::mTtlOutgoing{0};

namespace {

// The counter runs 0, 1, 2, 3, 4, 0...; a total is posted at 0. A lost
// update between threads only changes which total goes next.
void PostEveryFifth(std::atomic<std::int32_t>& counter, platform::UINT message, int total) {
    if (!CToolBarNotifier::mSafeToSend.load()) return;
    const std::int32_t seen = counter.load();
    counter.store(seen == 4 ? 0 : seen + 1);
    if (seen == 0) {
        CUtilThread::PostToThread(message, static_cast<platform::WPARAM>(static_cast<std::uint32_t>(total)), 0);
    }
}

}  // namespace

void CToolBarNotifier::Start() { mSafeToSend.store(true); }

void CToolBarNotifier::Stop() { mSafeToSend.store(false); }

bool CToolBarNotifier::SendDataIncoming(int total) {
    PostEveryFifth(mTtlIncoming, WM_RELAY_TOOLBAR_DATA_IN, total);
    return true;
}

bool CToolBarNotifier::SendDataOutgoing(int total) {
    PostEveryFifth(mTtlOutgoing, WM_RELAY_TOOLBAR_DATA_OUT, total);
    return true;
}

int CToolBarNotifier::SendProxyStatusChange(unsigned state) {
    if (!CProxyServer::m_bShuttingDown.load()) CUtilThread::PostToThread(WM_RELAY_TOOLBAR_STATUS, state, 0);
    return 0;
}
