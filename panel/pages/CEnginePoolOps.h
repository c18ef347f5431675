#pragma once
// IProxyPoolOps on the engine's pool and util thread.

#include "panel/pages/IProxyPoolOps.h"

class CEnginePoolOps : public IProxyPoolOps {
public:
    static CEnginePoolOps& Instance();

    // IProxyPoolOps
    bool DeleteAllProxies() override;
    bool RemoveProxyNow(const CProxy& proxy) override;
    std::unique_ptr<CProxy> PostRemoveProxy(std::unique_ptr<CProxy> proxy) override;
};
