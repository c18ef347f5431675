#pragma once
// What the pool, its pick-order timer and the chain settings ask of the
// engine around them. The engine facade installs one host for the process
// with SetPoolHost before the proxy server starts; until then an idle host
// answers (privacy settings of a fresh CPrivacySettings, mix chain on, no
// private proxies, not shutting down, no hunter, posts refused).

#include <memory>

#include "common/eProxyType.h"
#include "settings/CPrivacySettings.h"

class CProxy;

class IPoolHost {
public:
    virtual ~IPoolHost() = default;

    // The privacy section of the engine's working settings, read at the
    // moment of use (chain length, pick-order timer, check time).
    virtual CPrivacySettings GetPrivacySettings() = 0;
    // The engine chain settings' mix-chain and use-private-proxies flags.
    virtual bool GetMixChain() = 0;
    virtual bool GetUsePrivateProxies() = 0;
    // The proxy server's shutting-down flag.
    virtual bool IsShuttingDown() = 0;

    virtual bool IsHunterRunning() = 0;
    // Sets the hunter's analyse-after-hunt flag and starts it.
    virtual void StartHunterWithAnalysis() = 0;

    // Posts WM_RELAY_ADD_PROXY with wParam 1 and the proxy to the util
    // thread, which stores it and deletes it. False when it could not be
    // posted; the proxy is then freed here.
    virtual bool PostAddProxy(std::unique_ptr<CProxy> proxy) = 0;

    // The proxy server's listener kind (loaded by the chain settings).
    virtual void SetListenerType(eProxyType type) = 0;
};

// Installs the process's host; null puts the idle host back. The host must
// outlive every pool call made while it is installed.
void SetPoolHost(IPoolHost* host);
IPoolHost& GetPoolHost();
