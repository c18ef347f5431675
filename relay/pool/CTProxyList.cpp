#include "relay/pool/CTProxyList.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <mutex>

#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyDatabase.h"
#include "relay/pool/ProxyStatements.h"

CTProxyList::CTProxyList(eProxyType type, bool isPrivate) : m_Type(type), m_IsPrivate(isPrivate) {}

CTProxyList::~CTProxyList() { clear(); }

platform::CriticalSection& CTProxyList::ListsLock() {
    static platform::CriticalSection lock;
    return lock;
}

std::string CTProxyList::DateDaysAgo(unsigned long days) {
    const std::time_t moment = std::time(nullptr) - static_cast<std::time_t>(days) * 24 * 60 * 60;
    std::tm local{};
    if (!localtime_r(&moment, &local)) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0) return {};
    return text;
}

void CTProxyList::Load(const char* table, const CListLoadContext& context) {
    if (GetLoadState() == FOUND_EMPTY) return;
    const std::string where =
        m_IsPrivate ? proxysql::WherePrivateList(m_Type)
                    : proxysql::WherePublicList(
                          m_Type, DateDaysAgo(std::min(context.minCheckTime, kMaxCheckDays)));
    CDatasetTranslator rows(true);
    context.database.Select(table, rows, proxysql::kAllFieldsSpaced, where.c_str(),
                            proxysql::kOrderTypeRank, false, proxysql::kListLimit);
    if (rows.GetRowCount() == 0) {
        SetLoadState(FOUND_EMPTY);
        return;
    }
    for (int row = 0; row < rows.GetRowCount(); ++row) {
        auto proxy = std::make_unique<CProxy>("", 0, PROXY_TYPE_UNKNOWN, "unknown");
        proxy->Read(rows.GetRow(row), rows.GetColumnCount());
        proxy->setIsPrivate(m_IsPrivate);
        // A listed address keeps its entry, and no second record is kept
        // for it, so reloads do not pile up records.
        if (Insert(proxy.get())) context.owner.push_back(proxy.release());
    }
}

void CTProxyList::Remove(const CProxy* proxy) {
    if (!proxy) return;
    std::lock_guard lock(ListsLock());
    m_Entries.erase(proxy->getIP());
}

bool CTProxyList::IsAllFailed() const {
    std::lock_guard lock(ListsLock());
    for (const auto& [address, proxy] : m_Entries) {
        if (proxy->getRank() > 0) return false;
    }
    return true;
}

bool CTProxyList::Insert(CProxy* proxy) {
    if (!proxy) return false;
    std::lock_guard lock(ListsLock());
    return m_Entries.emplace(proxy->getIP(), proxy).second;
}

bool CTProxyList::Contains(const char* address) const {
    std::lock_guard lock(ListsLock());
    return m_Entries.count(address ? address : "") != 0;
}

bool CTProxyList::empty() const {
    std::lock_guard lock(ListsLock());
    return m_Entries.empty();
}

int CTProxyList::size() const {
    std::lock_guard lock(ListsLock());
    return static_cast<int>(m_Entries.size());
}

void CTProxyList::clear() {
    std::lock_guard lock(ListsLock());
    m_Entries.clear();
}

std::vector<CProxy*> CTProxyList::Snapshot() const {
    std::lock_guard lock(ListsLock());
    std::vector<CProxy*> proxies;
    proxies.reserve(m_Entries.size());
    for (const auto& [address, proxy] : m_Entries) proxies.push_back(proxy);
    return proxies;
}
