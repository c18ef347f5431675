#include "relay/pool/CPublicProxyList.h"

#include "relay/pool/IPoolHost.h"
#include "relay/pool/ProxyStatements.h"

void CPublicProxyList::ReadPublicList(const CListLoadContext& context, bool mixChain) {
    Http().Load(proxysql::kProxyTableSpaced, context);
    Https().Load(proxysql::kProxyTableSpaced, context);
    if (mixChain) {
        Socks4().Load(proxysql::kProxyTableSpaced, context);
        Socks5().Load(proxysql::kProxyTableSpaced, context);
    }
    IPoolHost& host = GetPoolHost();
    if (AllFoundEmpty() && !host.IsHunterRunning()) host.StartHunterWithAnalysis();
}

CTProxyList* CPublicProxyList::GetList(eProxyType type) {
    for (CTProxyList& list : m_Lists) {
        if (list.GetType() == type) return &list;
    }
    return nullptr;
}

bool CPublicProxyList::AllFoundEmpty() const {
    for (const CTProxyList& list : m_Lists) {
        if (list.GetLoadState() != CTProxyList::FOUND_EMPTY) return false;
    }
    return true;
}

bool CPublicProxyList::AllFailed() const {
    for (const CTProxyList& list : m_Lists) {
        if (!list.IsAllFailed()) return false;
    }
    return true;
}

void CPublicProxyList::clear() {
    for (CTProxyList& list : m_Lists) list.clear();
}

// Each server start rereads the private lists: one found empty at an earlier
// start may have gained proxies since (the user's own list).
void CPrivateProxyList::ReadPrivateList(const CListLoadContext& context) {
    for (CTProxyList* list : {&Socks4(), &Socks5(), &Http(), &Https()}) {
        list->SetLoadState(CTProxyList::NOT_LOADED);
    }
    Socks4().Load(proxysql::kPrivateTable, context);
    Socks5().Load(proxysql::kPrivateTable, context);
    Http().Load(proxysql::kPrivateTable, context);
    Https().Load(proxysql::kPrivateTable, context);
}
