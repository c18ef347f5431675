#pragma once
// One list of usable proxies of one kind, keyed by address text (byte
// order, one entry per address). A list never owns its proxies: the pool's
// owner vector does.
//
// Every list shares one lock (the lists' lock); it comes after the pool
// lock and before the database lock in the pool's lock order.

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "common/eProxyType.h"
#include "platform/CriticalSection.h"

class CProxy;
class CProxyDatabase;

// What a load needs from the pool: its database, the vector that owns every
// proxy it creates, and the privacy settings' check time.
struct CListLoadContext {
    CProxyDatabase& database;
    std::vector<CProxy*>& owner;
    unsigned long minCheckTime;
};

class CTProxyList {
public:
    enum eLoadState : int { NOT_LOADED = 0, TO_RELOAD = 1, FOUND_EMPTY = 2 };
    // A public list reads proxies stamped within this many days at most.
    static constexpr unsigned long kMaxCheckDays = 7;

    CTProxyList(eProxyType type, bool isPrivate);
    CTProxyList(const CTProxyList&) = delete;
    CTProxyList& operator=(const CTProxyList&) = delete;
    virtual ~CTProxyList();

    // Reads the list's rows from table unless it was found empty; rows of
    // addresses already listed change nothing.
    void Load(const char* table, const CListLoadContext& context);
    // Erases the entry keyed by the proxy's address (the object stays).
    void Remove(const CProxy* proxy);
    // True when no entry is ranked above 0 (an empty list too).
    bool IsAllFailed() const;

    // Lists proxy under its address; false when the address is listed.
    bool Insert(CProxy* proxy);
    bool Contains(const char* address) const;
    bool empty() const;
    int size() const;
    void clear();
    // The entries' proxies in key order, taken under the lists' lock.
    std::vector<CProxy*> Snapshot() const;

    eLoadState GetLoadState() const { return m_LoadState.load(); }
    void SetLoadState(eLoadState state) { m_LoadState.store(state); }
    eProxyType GetType() const { return m_Type; }
    bool IsPrivate() const { return m_IsPrivate; }

    // The lists' lock.
    static platform::CriticalSection& ListsLock();

    // The local date ("%Y-%m-%d") days before now; empty when none can be
    // formed.
    static std::string DateDaysAgo(unsigned long days);

private:
    std::map<std::string, CProxy*> m_Entries;
    std::atomic<eLoadState> m_LoadState{NOT_LOADED};
    eProxyType m_Type;
    bool m_IsPrivate;
};
