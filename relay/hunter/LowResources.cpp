#include "relay/hunter/LowResources.h"

#include <atomic>
#include <new>

namespace {
std::atomic<bool> gLowResources{false};
}  // namespace

void hunter_test::SimulateLowResources(bool low) { gLowResources.store(low); }

void ThrowIfLowResources() {
    if (gLowResources.load()) throw std::bad_alloc();
}
