// Chain selection of the pool: which lists give members, in which order,
// and the pick walks over them.

#include <iterator>
#include <mutex>
#include <string_view>

#include "relay/pool/CChainSettings.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyChain.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CTimerThread.h"
#include "relay/pool/IPoolHost.h"

namespace {

// The HTTP lists never give chain members, only the HTTP last hop.
constexpr eProxyType kPrivateOrder[] = {PROXY_TYPE_SOCKS4, PROXY_TYPE_SOCKS5, PROXY_TYPE_HTTPS};
constexpr eProxyType kPublicOrder[] = {PROXY_TYPE_HTTPS, PROXY_TYPE_SOCKS4, PROXY_TYPE_SOCKS5};

bool SameProxy(const CProxy& a, const CProxy& b) {
    return std::string_view(a.getIP()) == b.getIP() && a.getPort() == b.getPort() &&
           a.getType() == b.getType();
}

}  // namespace

bool CProxyMap::SetupChain(CChainSettings& settings, CProxyChain& chain, bool,
                           eChainProxiesType kind, eRequestType request) {
    if (GetPoolHost().IsShuttingDown()) return false;
    std::lock_guard lock(m_PoolCS);
    return DoSetupChain(settings, chain, kind, request);
}

bool CProxyMap::DoSetupChain(CChainSettings& settings, CProxyChain& chain, eChainProxiesType kind,
                             eRequestType request) {
    if (IsAllPublicItemsFailed()) ReadPublicList();
    chain.clear();
    if (settings.getProxyChoice() == PROXY_CHOICE_SINGLE) {
        chain.GetPublicPart().push_back(SingleProxyRecord(settings.getSingleProxy()));
        return true;
    }
    const int length = settings.getChainLength();
    if (kind == CHAIN_PRIVATE_THEN_PUBLIC) {
        SetIsPrivateAnalyzed(true);
        if (length > 0) {
            if (GetPoolHost().GetUsePrivateProxies()) {
                FillPart(m_PrivateLists, kPrivateOrder, std::size(kPrivateOrder),
                         chain.GetPrivatePart(), length);
            }
            FillPart(m_PublicLists, kPublicOrder, std::size(kPublicOrder), chain.GetPublicPart(),
                     length);
        }
        if (request == REQUEST_HTTP) chain.SetUseHttp(ChooseRandomHttpProxy(chain));
    } else if (kind == CHAIN_PUBLIC_ONLY) {
        if (length > 0) {
            ReadPublicList();
            FillPart(m_PublicLists, kPublicOrder, std::size(kPublicOrder), chain.GetPublicPart(),
                     length);
        }
    }
    return true;
}

void CProxyMap::ReadPublicList() {
    m_PublicLists.ReadPublicList(LoadContext(), GetPoolHost().GetMixChain());
}

CProxy* CProxyMap::SingleProxyRecord(const CProxy& single) {
    // One record serves every connection while the settings name the same
    // proxy; a record per connection would grow without bound.
    if (m_pSingleProxy && SameProxy(*m_pSingleProxy, single)) return m_pSingleProxy;
    m_pSingleProxy = new CProxy(single);
    msProxyArry.push_back(m_pSingleProxy);
    return m_pSingleProxy;
}

void CProxyMap::FillPart(CPublicProxyList& lists, const eProxyType* order, int count,
                         CBProxyChain& part, int length) {
    for (int i = 0; i < count; ++i) {
        CTProxyList* list = lists.GetList(order[i]);
        if (part.size() < length && !list->empty()) TakeFromList(*list, part, length);
    }
}

int CProxyMap::TakeFromList(CTProxyList& list, CBProxyChain& part, int length) {
    const int need = length - part.size();
    if (need <= 0) return 0;
    const std::vector<CProxy*> entries = list.Snapshot();
    int added = 0;
    for (const int pick : m_PickOrder.GetPicksFor(static_cast<int>(entries.size()))) {
        CProxy* proxy = entries[pick];
        if (proxy->getRank() > 0) {
            part.push_back(proxy);
            ++added;
        }
        if (part.size() >= length || added >= need) break;
    }
    return added;
}

bool CProxyMap::ChooseRandomHttpProxy(CProxyChain& chain) {
    CTProxyList* list = nullptr;
    if (!m_PublicLists.Http().empty() && !m_PublicLists.Http().IsAllFailed()) {
        list = &m_PublicLists.Http();
    } else if (!m_PrivateLists.Http().empty() && !m_PrivateLists.Http().IsAllFailed()) {
        list = &m_PrivateLists.Http();
    } else {
        return false;
    }
    const std::vector<CProxy*> entries = list->Snapshot();
    // The steps of the picks add up; the walk ends at the end of the list.
    std::size_t position = 0;
    for (const int pick : m_PickOrder.GetPicksFor(static_cast<int>(entries.size()))) {
        position += static_cast<std::size_t>(pick);
        if (position >= entries.size()) return false;
        if (entries[position]->getRank() > 0) {
            chain.GetRandomHttpProxy() = *entries[position];
            return true;
        }
    }
    return false;
}
