#include "relay/logs/CChainLogger.h"

#include <mutex>

#include "relay/engine/EngineMessages.h"
#include "relay/logs/ITreeSink.h"
#include "relay/pool/CBProxyChain.h"

CChainLogger::CChainLogger(const CChainLogger& other) { *this = other; }

CChainLogger& CChainLogger::operator=(const CChainLogger& other) {
    if (this == &other) return *this;
    std::vector<std::vector<CProxy>> chains;
    std::vector<std::string> dests;
    {
        std::lock_guard lock(other.m_ListCS);
        chains = other.m_ChainList;
        dests = other.m_DestList;
    }
    platform::HWND wnd;
    {
        std::lock_guard lock(other.m_WndCS);
        wnd = other.m_Wnd;
    }
    std::lock_guard listLock(m_ListCS);
    std::lock_guard wndLock(m_WndCS);
    m_ChainList = std::move(chains);
    m_DestList = std::move(dests);
    m_Wnd = wnd;
    return *this;
}

void CChainLogger::Attach(platform::HWND wnd) {
    std::lock_guard lock(m_WndCS);
    m_Wnd = wnd;
}

void CChainLogger::Dettach() {
    std::lock_guard lock(m_WndCS);
    m_Wnd = nullptr;
}

void CChainLogger::Post(platform::UINT message, platform::WPARAM wParam) {
    std::lock_guard lock(m_WndCS);
    if (m_Wnd && platform::IsWindow(m_Wnd)) platform::PostMessage(m_Wnd, message, wParam, 0);
}

void CChainLogger::AddItem(CBProxyChain& chain, int, bool, const char* dest) {
    std::vector<CProxy> hops;
    for (const CProxy* proxy : chain.Snapshot()) hops.push_back(*proxy);
    std::lock_guard lock(m_ListCS);
    m_ChainList.push_back(std::move(hops));
    m_DestList.emplace_back(dest ? dest : "");
    unsigned index = static_cast<unsigned>(m_ChainList.size() - 1);
    UpdateView(index);
}

void CChainLogger::UpdateView(unsigned& index) {
    std::lock_guard lock(m_ListCS);
    if (m_ChainList.size() > kMaxChains) {
        std::vector<CProxy> last = std::move(m_ChainList.back());
        std::string dest = std::move(m_DestList.back());
        RemoveAllElements();
        m_ChainList.push_back(std::move(last));
        m_DestList.push_back(std::move(dest));
        index = 0;
    }
    Post(WM_RELAY_CHAINLOG_ITEM, index);
}

void CChainLogger::ViewAllElements() {
    std::lock_guard lock(m_ListCS);
    for (unsigned i = 0; i < m_ChainList.size(); ++i) {
        unsigned index = i;
        UpdateView(index);
    }
}

void CChainLogger::RemoveAllElements() {
    std::lock_guard listLock(m_ListCS);
    std::lock_guard wndLock(m_WndCS);
    m_ChainList.clear();
    m_DestList.clear();
    Post(WM_RELAY_CHAINLOG_RESET, 0);
}

void CChainLogger::AddToList(ITreeSink& tree, unsigned n) const {
    std::vector<CProxy> hops;
    std::string dest;
    {
        std::lock_guard lock(m_ListCS);
        if (n < m_ChainList.size()) {
            hops = m_ChainList[n];
            dest = m_DestList[n];
        }
    }
    const std::string root = "Connection" + std::to_string(static_cast<int>(n + 1));
    const ITreeSink::Handle item = tree.InsertItem(ITreeSink::kRoot, root.c_str());
    for (const CProxy& hop : hops) tree.InsertItem(item, hop.getIsPrivate() ? "Kavelin Private Proxy" : hop.getIP());
    tree.InsertItem(item, dest.c_str());
}

void CChainLogger::ClearAllElements(ITreeSink& tree) const { tree.DeleteAllItems(); }

int CChainLogger::GetListCount() const {
    std::lock_guard lock(m_ListCS);
    return static_cast<int>(m_ChainList.size());
}

bool CChainLogger::InRange(int n) const {
    return n >= 0 && static_cast<std::size_t>(n) < m_ChainList.size();
}

std::vector<CProxy> CChainLogger::GetProxyChainArrayAt(int n) const {
    std::lock_guard lock(m_ListCS);
    return InRange(n) ? m_ChainList[n] : std::vector<CProxy>();
}

int CChainLogger::GetProxyChainLengthAt(int n) const {
    std::lock_guard lock(m_ListCS);
    return InRange(n) ? static_cast<int>(m_ChainList[n].size()) : -1;
}

CProxy CChainLogger::GetProxyAt(int n, int hop) const {
    std::lock_guard lock(m_ListCS);
    if (!InRange(n) || hop < 0 || static_cast<std::size_t>(hop) >= m_ChainList[n].size()) {
        return CProxy("", 0, PROXY_TYPE_UNKNOWN, "unknown");
    }
    return m_ChainList[n][hop];
}

std::string CChainLogger::GetDestAt(int n) const {
    std::lock_guard lock(m_ListCS);
    return InRange(n) ? m_DestList[n] : std::string();
}
