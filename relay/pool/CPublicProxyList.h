#pragma once
// The four lists of one origin, one per kind, in this order: SOCKS4,
// SOCKS5, HTTP, HTTPS. The public set reads table Proxy, the private set
// (CPrivateProxyList) table KVList.

#include <array>

#include "relay/pool/CTProxyList.h"

class CPublicProxyList {
public:
    static constexpr int kLists = 4;

    explicit CPublicProxyList(bool isPrivate = false)
        : m_Lists{{CTProxyList(PROXY_TYPE_SOCKS4, isPrivate), CTProxyList(PROXY_TYPE_SOCKS5, isPrivate),
                   CTProxyList(PROXY_TYPE_HTTP, isPrivate), CTProxyList(PROXY_TYPE_HTTPS, isPrivate)}} {}
    virtual ~CPublicProxyList() = default;

    // Loads the HTTP and HTTPS lists, and the SOCKS lists too when chains
    // may mix kinds. Then, when all four lists were found empty and the
    // hunter is not running, starts it to hunt and analyse.
    void ReadPublicList(const CListLoadContext& context, bool mixChain);

    CTProxyList& operator[](int index) { return m_Lists[index]; }
    const CTProxyList& operator[](int index) const { return m_Lists[index]; }
    // The list of a kind; null for kinds without a list.
    CTProxyList* GetList(eProxyType type);
    CTProxyList& Socks4() { return m_Lists[0]; }
    CTProxyList& Socks5() { return m_Lists[1]; }
    CTProxyList& Http() { return m_Lists[2]; }
    CTProxyList& Https() { return m_Lists[3]; }

    bool AllFoundEmpty() const;
    bool AllFailed() const;
    void clear();

private:
    std::array<CTProxyList, kLists> m_Lists;
};

class CPrivateProxyList : public CPublicProxyList {
public:
    CPrivateProxyList() : CPublicProxyList(true) {}
    ~CPrivateProxyList() override = default;

    // Loads the SOCKS4, SOCKS5, HTTP and HTTPS private lists.
    void ReadPrivateList(const CListLoadContext& context);
};
