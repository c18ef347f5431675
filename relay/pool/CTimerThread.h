#pragma once
// The shared pick order of the pool: a permutation of 50 slots that the
// chain fillers walk, reshuffled every chain-timer period while IP
// shielding and the proxy chain are on.

#include <array>
#include <atomic>
#include <random>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "relay/pool/CThread.h"

class CTimerThread : public CThread {
public:
    static constexpr int kSlots = 50;

    // Shuffles once, so a pick order exists before the thread first runs.
    CTimerThread();
    ~CTimerThread() override;

    bool Start() override;
    bool Stop() override;
    platform::DWORD Run() override;

    // Copies, in slot order, every slot value below limit to out until count
    // values are copied; returns how many were copied.
    int GetPickOrder(int* out, int count, int limit) const;
    // The usable picks of a list of n entries: the slot values below n, in
    // slot order (at most 50).
    std::vector<int> GetPicksFor(int n) const;

    // Slot i := i, then each slot swapped with a random one.
    void Shuffle();
    // Puts a given order in place (tests pin one); false, changing nothing,
    // unless it is a permutation of 0..49.
    bool SetPickOrder(const std::array<int, kSlots>& order);

    // Length of one chain-timer second in milliseconds (1000); tests
    // shorten it.
    void SetSecondLength(platform::DWORD ms) { m_SecondMs.store(ms); }

private:
    platform::Event m_WakeEvent;
    std::array<int, kSlots> m_PickOrder{};
    // Seeded from the tick count once; every shuffle draws on.
    std::minstd_rand m_Random;
    mutable platform::CriticalSection m_PickOrderCS;
    std::atomic<platform::DWORD> m_SecondMs{1000};
};
