#pragma once
// What the hunter hands the proxy parser: its window bridge (progress,
// found proxies, the stop request) and the hunter section of the engine's
// working settings.

#include "relay/analyzer/CProxyConfig.h"

class CHunterSettings;

class CHunterConfig {
public:
    // settings: the hunter section of CBaseServer::mSettings (may be null
    // until the engine hands it over).
    explicit CHunterConfig(CHunterSettings* settings = nullptr);
    CHunterConfig(const CHunterConfig& other);
    CHunterConfig& operator=(const CHunterConfig& other);
    ~CHunterConfig() = default;

    // Clears the bridge's stop request.
    void Init();

    CProxyConfig m_ProxyConfig;
    CHunterSettings* m_pSettings = nullptr;
};
