#pragma once
// A copyable, locked list of proxies (not owned) that chains and logs use.
// Every operation takes the list's own lock, so a log may copy a list while
// its chain's worker appends to it.

#include <vector>

#include "platform/CriticalSection.h"

class CProxy;

class CBProxyChain {
public:
    using iterator = std::vector<CProxy*>::iterator;

    CBProxyChain() = default;
    CBProxyChain(const CBProxyChain& other);
    CBProxyChain& operator=(const CBProxyChain& other);
    virtual ~CBProxyChain() = default;

    // A null proxy is ignored.
    void push_back(CProxy* proxy);
    int size() const;
    bool empty() const;
    // Null for an index out of range.
    CProxy* operator[](int index) const;
    // The iterators are valid only while no other thread changes the list.
    iterator begin();
    iterator end();
    // Ignored at the end or for a null entry.
    void erase(iterator position);
    void clear();
    // The pointers as they stand, taken under the lock.
    std::vector<CProxy*> Snapshot() const;

private:
    std::vector<CProxy*> m_Proxies;
    mutable platform::CriticalSection m_Lock;
};
