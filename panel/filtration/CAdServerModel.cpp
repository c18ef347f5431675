#include "panel/filtration/CAdServerModel.h"

#include "panel/filtration/FiltrationIds.h"
#include "panel/filtration/ServerNames.h"
#include "panel/pages/IPageHost.h"
#include "panel/pages/PageText.h"
#include "settings/CSettings.h"

namespace {
bool IsLine(const std::vector<std::string>& box, int selected) {
    return selected >= 0 && static_cast<std::size_t>(selected) < box.size();
}
}  // namespace

CAdServerModel::CAdServerModel(IPageHost& host, const CFiltrationBanners& shown, AskServerName ask)
    : m_Host(host),
      m_Ask(std::move(ask)),
      m_Allowed(servernames::SortedLines(shown.GetAllowedServerList())),
      m_Blocked(servernames::SortedLines(shown.GetBlockedServerList())),
      m_Custom(servernames::SortedLines(shown.GetCustomServerList())) {}

const std::vector<PageTip>& CAdServerModel::Tips() {
    static const std::vector<PageTip> tips = {
        {IDC_AD_ALLOWED, PageString(1042)},    {IDC_AD_BLOCKED, PageString(1043)},
        {IDC_AD_CUSTOM, PageString(1044)},     {IDC_AD_ADD_ALL, PageString(1045)},
        {IDC_AD_ADD, PageString(1046)},        {IDC_AD_REMOVE, PageString(1047)},
        {IDC_AD_REMOVE_ALL, PageString(1048)}, {IDC_AD_ADD_SERVER, PageString(1049)},
        {IDC_AD_REMOVE_SERVER, PageString(1050)}, {IDC_AD_OK, PageString(1051)},
    };
    return tips;
}

CAdServerModel::Gradient CAdServerModel::Background(bool mixChain) {
    if (mixChain) return {{0xFF, 0xFF, 0xFF}, {0xD6, 0xE6, 0xFF}};
    return {{0xCA, 0xFF, 0xFF}, {0x68, 0xC8, 0xE6}};
}

CFiltrationBanners& CAdServerModel::Working() {
    return m_Host.WorkingSettings().getFiltrationSettings()->mInFiltration.mBanners;
}

bool CAdServerModel::Move(std::vector<std::string>& fromBox, std::vector<std::string>& fromList,
                          std::vector<std::string>& toBox, std::vector<std::string>& toList, int selected) {
    if (!IsLine(fromBox, selected)) return false;
    m_Host.SetModified(true, 0);
    std::string name = std::move(fromBox[selected]);
    fromBox.erase(fromBox.begin() + selected);
    servernames::EraseNoCase(fromList, name);
    if (!servernames::ContainsNoCase(toList, name)) {
        toList.push_back(name);
        servernames::InsertSorted(toBox, std::move(name));
    }
    return true;
}

bool CAdServerModel::OnAdd(int selected) {
    CFiltrationBanners& lists = Working();
    return Move(m_Allowed, lists.GetAllowedServerList(), m_Blocked, lists.GetBlockedServerList(), selected);
}

bool CAdServerModel::OnRemove(int selected) {
    CFiltrationBanners& lists = Working();
    return Move(m_Blocked, lists.GetBlockedServerList(), m_Allowed, lists.GetAllowedServerList(), selected);
}

void CAdServerModel::OnAddAll() {
    while (OnAdd(0)) {
    }
}

void CAdServerModel::OnRemoveAll() {
    while (OnRemove(0)) {
    }
}

void CAdServerModel::OnAddServer() {
    const std::optional<std::string> typed = m_Ask ? m_Ask(servernames::kSampleServer) : std::nullopt;
    // An empty entry would never name a server.
    if (!typed || *typed == servernames::kSampleServer || typed->empty()) return;
    m_Host.SetModified(true, 0);
    std::vector<std::string>& custom = Working().GetCustomServerList();
    std::string lower = servernames::ToLower(*typed);
    if (servernames::ContainsNoCase(custom, lower)) return;
    servernames::InsertSorted(m_Custom, *typed);
    custom.push_back(std::move(lower));
}

void CAdServerModel::OnRemoveServer(int selected) {
    if (!IsLine(m_Custom, selected) || m_Custom[selected].empty()) return;
    m_Host.SetModified(true, 0);
    const std::string name = m_Custom[selected];
    m_Custom.erase(m_Custom.begin() + selected);
    servernames::EraseNoCase(Working().GetCustomServerList(), name);
}
