#include "relay/pool/CBProxyChain.h"

#include <mutex>

CBProxyChain::CBProxyChain(const CBProxyChain& other) : m_Proxies(other.Snapshot()) {}

CBProxyChain& CBProxyChain::operator=(const CBProxyChain& other) {
    if (this == &other) return *this;
    std::vector<CProxy*> copy = other.Snapshot();
    std::lock_guard lock(m_Lock);
    m_Proxies = std::move(copy);
    return *this;
}

void CBProxyChain::push_back(CProxy* proxy) {
    if (!proxy) return;
    std::lock_guard lock(m_Lock);
    m_Proxies.push_back(proxy);
}

int CBProxyChain::size() const {
    std::lock_guard lock(m_Lock);
    return static_cast<int>(m_Proxies.size());
}

bool CBProxyChain::empty() const {
    std::lock_guard lock(m_Lock);
    return m_Proxies.empty();
}

CProxy* CBProxyChain::operator[](int index) const {
    std::lock_guard lock(m_Lock);
    if (index < 0 || index >= static_cast<int>(m_Proxies.size())) return nullptr;
    return m_Proxies[index];
}

CBProxyChain::iterator CBProxyChain::begin() {
    std::lock_guard lock(m_Lock);
    return m_Proxies.begin();
}

CBProxyChain::iterator CBProxyChain::end() {
    std::lock_guard lock(m_Lock);
    return m_Proxies.end();
}

void CBProxyChain::erase(iterator position) {
    std::lock_guard lock(m_Lock);
    if (position == m_Proxies.end() || !*position) return;
    m_Proxies.erase(position);
}

void CBProxyChain::clear() {
    std::lock_guard lock(m_Lock);
    m_Proxies.clear();
}

std::vector<CProxy*> CBProxyChain::Snapshot() const {
    std::lock_guard lock(m_Lock);
    return m_Proxies;
}
