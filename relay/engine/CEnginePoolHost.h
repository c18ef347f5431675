#pragma once
// What the pool asks of the engine, answered from the facade's singletons.

#include "relay/pool/IPoolHost.h"

class CEnginePoolHost final : public IPoolHost {
public:
    CPrivacySettings GetPrivacySettings() override;
    bool GetMixChain() override;
    bool GetUsePrivateProxies() override;
    bool IsShuttingDown() override;
    // Called under the pool lock: neither waits.
    bool IsHunterRunning() override;
    void StartHunterWithAnalysis() override;
    bool PostAddProxy(std::unique_ptr<CProxy> proxy) override;
    void SetListenerType(eProxyType type) override;
};
