#include "panel/pages/CEnginePoolOps.h"

#include "relay/engine/CBaseServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/pool/CProxy.h"

CEnginePoolOps& CEnginePoolOps::Instance() {
    static CEnginePoolOps ops;
    return ops;
}

bool CEnginePoolOps::DeleteAllProxies() { return CBaseServer::m_ProxyPool.IDeleteAllProxies(); }

bool CEnginePoolOps::RemoveProxyNow(const CProxy& proxy) {
    return CBaseServer::m_ProxyPool.IRemoveProxy(proxy);
}

std::unique_ptr<CProxy> CEnginePoolOps::PostRemoveProxy(std::unique_ptr<CProxy> proxy) {
    if (CUtilThread::PostToThread(WM_RELAY_REMOVE_PROXY, 1,
                                  reinterpret_cast<platform::LPARAM>(proxy.get()))) {
        proxy.release();  // the util thread owns and deletes it now
    }
    return proxy;
}
