#pragma once
// The proxy pool: four public lists (table Proxy) and four private lists
// (table KVList), one per kind, from which each connection's chain is
// filled; the stores of analysed and failed proxies; the hunter start when
// every public list turned out empty; and the proxy list view.
//
// Lock order: m_FailedProxiesCS, then the pool lock (m_PoolCS), then the
// lists' lock (CTProxyList::ListsLock), then the database lock. The lists
// and the owner vector are read and changed only under the pool lock.
//
// Every proxy the pool creates is owned by msProxyArry; lists and chains
// hold plain pointers into it, valid until FreeProxyVectorMem.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "common/eProxyType.h"
#include "platform/CriticalSection.h"
#include "relay/pool/CBProxyChain.h"
#include "relay/pool/CProxyDatabase.h"
#include "relay/pool/CPublicProxyList.h"
#include "relay/pool/eChainProxiesType.h"
#include "relay/pool/eRequestType.h"

class CChainSettings;
class CDatasetTranslator;
class CProxy;
class CProxyChain;
class CThread;
class CTimerThread;
class IListSink;

class CProxyMap {
public:
    // pickOrder: the timer thread whose shuffled slots order the picks.
    explicit CProxyMap(CTimerThread& pickOrder);
    CProxyMap(const CProxyMap&) = delete;
    CProxyMap& operator=(const CProxyMap&) = delete;
    virtual ~CProxyMap();

    // Once per server start (after SetDBInitialized(false)): opens the
    // database and reads the private lists, which then count as not
    // analysed.
    void Init();
    void SetDBInitialized(bool initialized) { msDBInitialized.store(initialized); }
    bool GetDBInitialized() const { return msDBInitialized.load(); }

    // Stores an analysed proxy (a private one is not stored).
    bool IAddProxy(CProxy& proxy);
    // Deletes the rows of its address (and port, when above 0).
    bool IRemoveProxy(const CProxy& proxy);
    bool IDeleteAllProxies();
    // The country of the range holding address; empty when none is found.
    std::string IFindCountry(const char* address);

    bool GetUnAnalyzedProxies(CDatasetTranslator& result);
    bool GetAllProxies(CDatasetTranslator& result);
    // The analyzer's work list: every proxy not analysed yet.
    bool GetAnalyzerWorkList(CDatasetTranslator& result);

    void InsertColumns(IListSink& list, bool full);
    // The proxy list view: columns, then one row per stored proxy. True when
    // a row was shown.
    bool Write(IListSink& list, bool unused, bool full);
    // "unknown", "HTTP", "HTTPS", "SOCKS4", "SOCKS5"; null otherwise.
    static const char* getTypeAsString(int type);

    // Fills chain for one connect attempt; false during shutdown.
    bool SetupChain(CChainSettings& settings, CProxyChain& chain, bool unused,
                    eChainProxiesType kind, eRequestType request);
    // A proxy a connect blamed: rank 0, fail count up, out of its list; a
    // public one is stored again through the util thread. Null does nothing.
    void HandleFailedProxy(CProxy* proxy);
    void HandleFailedProxy(CBProxyChain::iterator proxy);
    // A proxy the analyzer passed on: a copy joins the public list of its
    // kind unless that list holds its address.
    bool AddPublicProxy(const CProxy& proxy);
    // Has the util thread store (a copy of) proxy.
    void PostProxyDelMessage(const CProxy* proxy);

    // The private-list analyzer (a CThread given this pool), owned here.
    void SetPrivateListAnalyzer(std::unique_ptr<CThread> analyzer);
    // Starts the analyzer unless the private lists count as analysed.
    void AnalyzePrivateList();
    void StopAnalyzingPrivateList();
    void SetIsPrivateAnalyzed(bool analyzed);
    bool GetIsPrivateAnalyzed() const;

    bool IsAllPublicItemsFailed();
    // Deletes every pooled proxy and empties the eight lists.
    void FreeProxyVectorMem();

    // The members of the private list of a kind, copied under the pool lock
    // (for walks that connect, which must not hold it).
    std::vector<CProxy*> CopyPrivateList(eProxyType type);
    // For callers that walk or change the lists themselves: they hold the
    // pool lock (GetPoolLock) while they do.
    platform::CriticalSection& GetPoolLock() { return m_PoolCS; }
    CPublicProxyList& GetPublicLists() { return m_PublicLists; }
    CPrivateProxyList& GetPrivateLists() { return m_PrivateLists; }
    CProxyDatabase& GetDatabase() { return m_Database; }
    // The number of proxy records the pool owns.
    int GetOwnedCount();

private:
    bool DoSetupChain(CChainSettings& settings, CProxyChain& chain, eChainProxiesType kind,
                      eRequestType request);
    void ReadPublicList();
    void FillPart(CPublicProxyList& lists, const eProxyType* order, int count, CBProxyChain& part,
                  int length);
    int TakeFromList(CTProxyList& list, CBProxyChain& part, int length);
    bool ChooseRandomHttpProxy(CProxyChain& chain);
    CProxy* SingleProxyRecord(const CProxy& single);
    CListLoadContext LoadContext();

    CTimerThread& m_PickOrder;
    CPublicProxyList m_PublicLists;
    platform::CriticalSection m_PoolCS;
    mutable platform::CriticalSection m_PrivateAnalyzedCS;
    bool m_IsPrivateAnalyzed = false;
    std::unique_ptr<CThread> m_PrivateListAnalyzer;
    platform::CriticalSection m_AnalyzerCS;
    CPrivateProxyList m_PrivateLists;

    CProxyDatabase m_Database;
    std::vector<CProxy*> msProxyArry;
    // The pool's record of the configured single proxy, reused while the
    // settings name the same proxy.
    CProxy* m_pSingleProxy = nullptr;
    std::atomic<bool> msDBInitialized{false};
    platform::CriticalSection m_RandomArrCS;
    platform::CriticalSection m_FailedProxiesCS;
};
