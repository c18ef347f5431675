#include "panel/main/CMainDlgModel.h"

#include "panel/main/MainDlgIds.h"

namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kPortInUse = "This port is already used, please change the port number";
constexpr const char* kSameAddress =
    "Please check that the IP and port number used for the firewall, custom proxy and server are not the same.";
constexpr const char* kPortOutOfRange = "The server port must be a number from 1 to 65535.";


}  // namespace

CMainDlgModel::CMainDlgModel()
    : m_Tabs{{
          {IDC_TAB_GENERAL, IDD_GENERAL_PAGE, 416, 409, false},
          {IDC_TAB_HELP, IDD_HELP_PAGE, 418, 410, false},
          {IDC_TAB_ACTIVITY, IDD_ACTIVITY_PAGE, 412, 419, false},
          {IDC_TAB_PROXY, IDD_PROXY_PAGE, 417, 411, false},
          {IDC_TAB_ADVANCED, IDD_ADVANCED_PAGE, 413, 408, false},
      }} {}

void CMainDlgModel::SetModified(bool modified, int kind) {
    m_bModified = modified;
    if (modified) m_nChangeKind = kind;
}

unsigned CMainDlgModel::ApplyImage() const { return m_bModified ? IDR_APPLY_MODIFIED : IDR_APPLY; }

bool CMainDlgModel::SelectTab(int index) {
    if (index == m_nCurrentTab || index < 0 || index >= kTabCount) return false;
    for (int i = 0; i < kTabCount; ++i) m_Tabs[static_cast<std::size_t>(i)].selected = (i == index);
    m_nCurrentTab = index;
    return true;
}

bool CMainDlgModel::SelectTabFromCommand(int index) {
    if (index == m_nCurrentTab || index < 0 || index >= kTabCount) return false;
    if (m_nCurrentTab >= 0) m_Tabs[static_cast<std::size_t>(m_nCurrentTab)].selected = false;
    m_Tabs[static_cast<std::size_t>(index)].selected = true;
    m_nCurrentTab = index;
    return true;
}

unsigned CMainDlgModel::TabImage(int index) const {
    const Tab& tab = TabAt(index);
    return tab.selected ? tab.selectedImage : tab.normalImage;
}

std::optional<int> CMainDlgModel::TabOfControl(int control) {
    const CMainDlgModel model;
    for (int i = 0; i < kTabCount; ++i) {
        if (model.TabAt(i).control == control) return i;
    }
    return std::nullopt;
}

CMainDlgModel::Click CMainDlgModel::ClickAt(int x, int y) {
    if (y > kStripBottom) return Click::Drag;
    if (x >= kExitLeft) return Click::Exit;
    if (x >= kHideLeft && x <= kHideRight) return Click::HideToTray;
    return Click::Drag;
}

CMainDlgModel::ApplyCheck CMainDlgModel::CheckApply(const CSettings& settings) {
    const CPrivacySettings& privacy = *settings.getPrivacySettings();
    const CGnrlSettings& general = *settings.getGeneralSettings();
    const platform::DWORD listenerPort = privacy.mListenerPort;
    const bool behindFirewall = general.getBehindFireWall();
    const std::string firewallIp = general.getFireWallIP();
    const platform::DWORD firewallPort = general.getFireWallPort();
    const bool customProxy =
        privacy.mEnableIPShielding == 1 && privacy.mEnableProxyChain == 0 && privacy.mProxyBestChoice == 0;

    if (behindFirewall && firewallIp == kLoopback && firewallPort == listenerPort) return {false, kPortInUse, false};
    if (customProxy && privacy.mUserIP == kLoopback && privacy.mUserPort == listenerPort) {
        return {false, kSameAddress, false};
    }
    if (customProxy && behindFirewall && firewallIp == privacy.mUserIP && firewallPort == privacy.mUserPort) {
        return {false, kSameAddress, true};
    }
    if (listenerPort < 1 || listenerPort > 65535) return {false, kPortOutOfRange, false};
    return {};
}
