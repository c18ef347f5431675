#include "relay/pool/CProxyChain.h"

#include <mutex>

platform::CriticalSection CProxyChain::m_CS;

CProxyChain::CProxyChain(CCommonBase* owner) : m_pOwner(owner) {}

void CProxyChain::ExtractChainRequirments(int length) {
    const int p = m_PrivatePart.size();
    const int q = m_PublicPart.size();
    const int h = m_UseHttp ? 1 : 0;
    if (length > p + q + h) {
        m_PrivateHops = p;
        m_PublicHops = q;
    } else if (p == 0) {
        m_PrivateHops = 0;
        m_PublicHops = q < length ? q : length - h;
    } else if (q == 0) {
        m_PublicHops = 0;
        m_PrivateHops = p < length ? p : length - h;
    } else if (q < length) {
        m_PrivateHops = length - h - q;
        m_PublicHops = q;
    } else {
        m_PrivateHops = 1;
        m_PublicHops = q - h - 1;
    }
    if (p > 0 && m_PrivateHops == 0) m_PrivateHops = 1;
}

void CProxyChain::AddConnectedHop(CProxy* proxy) {
    if (!proxy) return;
    m_ConnectedHops.push_back(proxy);
    m_pLastProxy = proxy;
    m_LastType = proxy->getType();
    ++m_HopCount;
}

void CProxyChain::clear() {
    std::lock_guard lock(m_CS);
    m_PrivatePart.clear();
    m_PublicPart.clear();
    m_HopCount = 0;
    DeleteLogVector();
}

void CProxyChain::DeleteLogVector() {
    std::lock_guard lock(m_CS);
    m_ConnectedHops.clear();
}

void CProxyChain::ResetConnectedHops() {
    DeleteLogVector();
    m_HopCount = 0;
}
