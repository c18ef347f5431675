#include "relay/pool/CProxyMap.h"

#include <mutex>

#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CThread.h"
#include "relay/pool/IPoolHost.h"
#include "relay/pool/ProxyAddress.h"
#include "relay/pool/ProxyDatabaseFile.h"
#include "relay/pool/ProxyStatements.h"

CProxyMap::CProxyMap(CTimerThread& pickOrder) : m_PickOrder(pickOrder) {
    SetIsPrivateAnalyzed(true);
}

CProxyMap::~CProxyMap() {
    StopAnalyzingPrivateList();
    {
        std::lock_guard lock(m_AnalyzerCS);
        m_PrivateListAnalyzer.reset();
    }
    FreeProxyVectorMem();
}

CListLoadContext CProxyMap::LoadContext() {
    return CListLoadContext{m_Database, msProxyArry,
                            GetPoolHost().GetPrivacySettings().getMinCheckTime()};
}

void CProxyMap::Init() {
    std::lock_guard lock(m_RandomArrCS);
    if (msDBInitialized.load()) return;
    msDBInitialized.store(true);
    // A failed open leaves the pool empty: every statement then fails.
    m_Database.Open(PrepareProxyDatabase().c_str());
    {
        std::lock_guard pool(m_PoolCS);
        m_PrivateLists.ReadPrivateList(LoadContext());
    }
    // The lists just read have not been checked: the start's
    // AnalyzePrivateList runs the analysis.
    SetIsPrivateAnalyzed(false);
}

bool CProxyMap::IAddProxy(CProxy& proxy) {
    std::lock_guard lock(m_PoolCS);
    IRemoveProxy(proxy);
    if (proxy.getIsPrivate()) return true;
    if (CTProxyList* list = m_PublicLists.GetList(proxy.getType())) {
        list->SetLoadState(CTProxyList::TO_RELOAD);
    }
    proxy.syncTimeStamp(GetPoolHost().GetPrivacySettings().getMinCheckTime());
    std::vector<std::string> columns;
    std::vector<std::string> values;
    proxy.Write(columns, values);
    m_Database.Insert(proxysql::kProxyTable, columns, values, "");
    return true;
}

bool CProxyMap::IRemoveProxy(const CProxy& proxy) {
    std::lock_guard lock(m_PoolCS);
    m_Database.Delete(proxysql::kProxyTableSpaced,
                      proxysql::WhereAddress(proxy.getIP(), proxy.getPort()).c_str());
    return true;
}

bool CProxyMap::IDeleteAllProxies() {
    std::lock_guard lock(m_PoolCS);
    m_Database.Delete(proxysql::kProxyTableSpaced, "");
    return true;
}

std::string CProxyMap::IFindCountry(const char* address) {
    if (!address || !*address) return {};
    std::lock_guard lock(m_PoolCS);
    CDatasetTranslator rows(true);
    m_Database.Select(proxysql::kCountriesTable, rows, proxysql::kCountryField,
                      proxysql::WhereCountry(ConvertIPToInteger(address)).c_str(), "", false, 1);
    const char* const* row = rows.GetRow(0);
    return row && row[0] ? row[0] : "";
}

bool CProxyMap::GetUnAnalyzedProxies(CDatasetTranslator& result) {
    return m_Database.Select(proxysql::kProxyTable, result, proxysql::kAllFields,
                             proxysql::kWhereUnanalysed, proxysql::kOrderRank, true, 0);
}

bool CProxyMap::GetAllProxies(CDatasetTranslator& result) {
    return m_Database.Select(proxysql::kProxyTable, result, proxysql::kAllFields, "",
                             proxysql::kOrderRankPlain, true, 0);
}

bool CProxyMap::GetAnalyzerWorkList(CDatasetTranslator& result) {
    return m_Database.Select(proxysql::kProxyTable, result, proxysql::kAllFieldsSpaced,
                             proxysql::kWhereUnanalysed, proxysql::kOrderRank, true, 0);
}

void CProxyMap::HandleFailedProxy(CProxy* proxy) {
    if (!proxy) return;
    std::lock_guard failed(m_FailedProxiesCS);
    std::lock_guard lock(m_PoolCS);
    proxy->setRank(0);
    proxy->EncrementFailCount();
    if (proxy->getIsPrivate()) {
        if (CTProxyList* list = m_PrivateLists.GetList(proxy->getType())) list->Remove(proxy);
        return;
    }
    // Stored again with its new rank and count; with rank 0 it leaves the
    // pool for good until an analysis ranks it again.
    PostProxyDelMessage(proxy);
    if (CTProxyList* list = m_PublicLists.GetList(proxy->getType())) list->Remove(proxy);
}

void CProxyMap::HandleFailedProxy(CBProxyChain::iterator proxy) { HandleFailedProxy(*proxy); }

bool CProxyMap::AddPublicProxy(const CProxy& proxy) {
    std::lock_guard lock(m_PoolCS);
    CTProxyList* list = m_PublicLists.GetList(proxy.getType());
    // Only a copy that joins a list is kept, so repeated analyses do not
    // pile up records.
    if (!list || list->Contains(proxy.getIP())) return true;
    auto copy = std::make_unique<CProxy>(proxy);
    if (list->Insert(copy.get())) msProxyArry.push_back(copy.release());
    return true;
}

void CProxyMap::PostProxyDelMessage(const CProxy* proxy) {
    if (!proxy) return;
    std::unique_ptr<CProxy> copy;
    {
        std::lock_guard lock(m_PoolCS);
        copy = std::make_unique<CProxy>(*proxy);
    }
    // The util thread owns and deletes the copy; the pooled record may be
    // freed before the message is handled.
    GetPoolHost().PostAddProxy(std::move(copy));
}

void CProxyMap::SetPrivateListAnalyzer(std::unique_ptr<CThread> analyzer) {
    std::lock_guard lock(m_AnalyzerCS);
    if (m_PrivateListAnalyzer) m_PrivateListAnalyzer->Stop();
    m_PrivateListAnalyzer = std::move(analyzer);
}

void CProxyMap::AnalyzePrivateList() {
    std::lock_guard lock(m_AnalyzerCS);
    if (GetIsPrivateAnalyzed() || !m_PrivateListAnalyzer) return;
    m_PrivateListAnalyzer->Start();
    SetIsPrivateAnalyzed(true);
}

void CProxyMap::StopAnalyzingPrivateList() {
    std::lock_guard lock(m_AnalyzerCS);
    if (m_PrivateListAnalyzer) m_PrivateListAnalyzer->Stop();
}

void CProxyMap::SetIsPrivateAnalyzed(bool analyzed) {
    std::lock_guard lock(m_PrivateAnalyzedCS);
    m_IsPrivateAnalyzed = analyzed;
}

bool CProxyMap::GetIsPrivateAnalyzed() const {
    std::lock_guard lock(m_PrivateAnalyzedCS);
    return m_IsPrivateAnalyzed;
}

bool CProxyMap::IsAllPublicItemsFailed() {
    std::lock_guard lock(m_PoolCS);
    return m_PublicLists.AllFailed();
}

void CProxyMap::FreeProxyVectorMem() {
    std::lock_guard lock(m_PoolCS);
    m_PublicLists.clear();
    m_PrivateLists.clear();
    for (CProxy* proxy : msProxyArry) delete proxy;
    msProxyArry.clear();
    m_pSingleProxy = nullptr;
}

std::vector<CProxy*> CProxyMap::CopyPrivateList(eProxyType type) {
    std::lock_guard lock(m_PoolCS);
    CTProxyList* list = m_PrivateLists.GetList(type);
    return list ? list->Snapshot() : std::vector<CProxy*>();
}

int CProxyMap::GetOwnedCount() {
    std::lock_guard lock(m_PoolCS);
    return static_cast<int>(msProxyArry.size());
}
