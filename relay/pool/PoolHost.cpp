#include <atomic>

#include "relay/pool/CProxy.h"
#include "relay/pool/IPoolHost.h"

namespace {

class CIdlePoolHost final : public IPoolHost {
public:
    CPrivacySettings GetPrivacySettings() override { return CPrivacySettings(); }
    bool GetMixChain() override { return true; }
    bool GetUsePrivateProxies() override { return false; }
    bool IsShuttingDown() override { return false; }
    bool IsHunterRunning() override { return false; }
    void StartHunterWithAnalysis() override {}
    bool PostAddProxy(std::unique_ptr<CProxy>) override { return false; }
    void SetListenerType(eProxyType) override {}
};

CIdlePoolHost gIdleHost;
std::atomic<IPoolHost*> gHost{nullptr};

}  // namespace

void SetPoolHost(IPoolHost* host) { gHost.store(host, std::memory_order_release); }

IPoolHost& GetPoolHost() {
    IPoolHost* host = gHost.load(std::memory_order_acquire);
    return host ? *host : gIdleHost;
}
