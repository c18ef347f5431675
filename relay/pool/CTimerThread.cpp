#include "relay/pool/CTimerThread.h"

#include <algorithm>
#include <mutex>

#include "platform/Time.h"
#include "platform/Wait.h"
#include "relay/pool/IPoolHost.h"

CTimerThread::CTimerThread()
    : m_WakeEvent(true, false), m_Random(platform::GetTickCount() % 2147483647u) {
    Shuffle();
}

CTimerThread::~CTimerThread() { CTimerThread::Stop(); }

bool CTimerThread::Start() {
    m_WakeEvent.Reset();
    return CThread::Start();
}

bool CTimerThread::Stop() {
    m_WakeEvent.Set();
    return CThread::Stop();
}

platform::DWORD CTimerThread::Run() {
    const CPrivacySettings privacy = GetPoolHost().GetPrivacySettings();
    if (!privacy.mEnableIPShielding || !privacy.mEnableProxyChain) return 0;
    for (platform::DWORD seconds = privacy.mChainTimer; seconds != 0;
         seconds = GetPoolHost().GetPrivacySettings().mChainTimer) {
        const unsigned long long wait = static_cast<unsigned long long>(seconds) * m_SecondMs.load();
        const platform::DWORD ms = static_cast<platform::DWORD>(
            std::min<unsigned long long>(wait, platform::INFINITE - 1));
        if (platform::WaitForSingleObject(m_WakeEvent, ms) != platform::WAIT_TIMEOUT) return 0;
        Shuffle();
    }
    return 0;
}

void CTimerThread::Shuffle() {
    std::lock_guard lock(m_PickOrderCS);
    for (int i = 0; i < kSlots; ++i) m_PickOrder[i] = i;
    for (int i = 0; i < kSlots; ++i) {
        std::swap(m_PickOrder[i], m_PickOrder[m_Random() % kSlots]);
    }
}

bool CTimerThread::SetPickOrder(const std::array<int, kSlots>& order) {
    std::array<bool, kSlots> seen{};
    for (const int slot : order) {
        if (slot < 0 || slot >= kSlots || seen[slot]) return false;
        seen[slot] = true;
    }
    std::lock_guard lock(m_PickOrderCS);
    m_PickOrder = order;
    return true;
}

int CTimerThread::GetPickOrder(int* out, int count, int limit) const {
    std::lock_guard lock(m_PickOrderCS);
    int copied = 0;
    for (int i = 0; i < kSlots && copied < count; ++i) {
        if (m_PickOrder[i] < limit) out[copied++] = m_PickOrder[i];
    }
    return copied;
}

std::vector<int> CTimerThread::GetPicksFor(int n) const {
    std::vector<int> picks(kSlots);
    picks.resize(GetPickOrder(picks.data(), kSlots, n));
    return picks;
}
