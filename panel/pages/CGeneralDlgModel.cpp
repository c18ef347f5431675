#include "panel/pages/CGeneralDlgModel.h"

#include <mutex>

#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/IPageHost.h"
#include "panel/pages/PageText.h"
#include "platform/MessageBox.h"
#include "relay/engine/CBaseServer.h"
#include "settings/CSettings.h"

namespace {

constexpr const char* kCaption = "Kavelin Professional Edition";
constexpr const char* kPortUsed = "This port is already used, please change the port number";
constexpr const char* kLoopback = "127.0.0.1";

struct ServerType {
    const char* name;
    platform::DWORD listenerType;
    const char* tip;
};

constexpr ServerType kServerTypes[] = {
    {"DEFAULT", 6, "Supports any protocol."},
    {"HTTP", 2, "This protocol is not supported by MIRC or KAZAA."},
    {"SOCKS4", 4, "This protocol is not supported by Internet Explorer, OPERA or KAZAA."},
    {"SOCKS5", 5, "This protocol is not supported by Internet Explorer or OPERA."},
};

constexpr platform::DWORD kFirewallTypes[] = {2, 3, 4, 5};
constexpr const char* kFirewallTypeNames[] = {"HTTP", "HTTPS", "SOCKS4", "SOCKS5"};

struct LevelButton {
    platform::DWORD level;
    int button;
};

constexpr LevelButton kLevels[] = {
    {1, IDC_LEVEL_MAXIMUM}, {2, IDC_LEVEL_DEFAULT}, {3, IDC_LEVEL_MINIMUM}, {4, IDC_LEVEL_CUSTOM}};

int FirewallIndex(platform::DWORD type) {
    switch (type) {
    case 3: return 1;
    case 4: return 2;
    case 5: return 3;
    default: return 0;
    }
}

}  // namespace

CGeneralDlgModel::CGeneralDlgModel(IPageHost& host) : m_Host(host) {}

const std::vector<PageTip>& CGeneralDlgModel::Tips() {
    static const std::vector<PageTip> tips = {
        {IDC_SERVER_PORT, "Type the port number you want to connect through."},
        {IDC_SERVER_TYPE, "Select protocol type to connect with."},
        {IDC_AUTOSTART, "Select to launch Kavelin when windows start up."},
        {IDC_TRAY_NOTIFY, "Select to show balloon notifications, indicating the status of Kavelin."},
        {IDC_FIREWALL, "Check this option if you are behind a firewall."},
        {IDC_AUTO_CONFIG, "Configure other applications to connect through Kavelin."},
        {IDC_FIREWALL_IP, "Enter your firewall IP address."},
        {IDC_FIREWALL_TYPE, "Protocol to bypass firewall."},
        {IDC_FIREWALL_PORT, "Enter port number to connect to the firewall through."},
        {IDC_LEVEL_CUSTOM, "Kavelin is running custom settings defined by the user."},
        {IDC_LEVEL_MAXIMUM,
         "Run Kavelin at maximum protection level.\nThis will activate the following options:\n"
         "- Popup blocking.\n-  IP shielding using a chain  of 2 proxies.\n- Tray notifications.\n"
         "-  Scripts blocking.\n-  Window close-up event Disabling.\n-  Banner Ads Filtration.\n"
         "- Remove context menu disablers.\n-  Image Blocking.\n-  Auto clean on browser exit.\n"
         "-  Cleaning temporary internet folder.\n-  Clean Cookies.\n"
         "-  Clean auto form completion.\n-  Clean auto password completion.\n"
         "-  Clean Url history.\n-  Clean typed URLs\u2019 list.\n"
         "-  Integrate with Internet Explorer, Netscape, Opera, mirc,\n"
         "    MSN Messenger, Yahoo Messenger, WSFTP, cuteFTP and Kazaa."},
        {IDC_LEVEL_DEFAULT,
         "Run Kavelin at default protection level.\n This will activate the following options:\n"
         "-  Popup blocking.\n-  IP shielding using one proxy server.\n- Tray notifications.\n"
         "-  Scripts blocking.\n-  Window close-up event Disabling.\n-  Banner Ads Filtration.\n"
         "-  Integrate with Internet Explorer, MSN Messenger and Yahoo Messenger."},
        {IDC_LEVEL_MINIMUM,
         "Run Kavelin at minimum protection level.\r\n This will activate the following "
         "options:\r\n-  Popup blocking.\r\n-  IP shielding using best proxy server.\r\n"
         "- Tray notifications.\n-  Integrate with Internet Explorer and MSN Messenger."},
    };
    return tips;
}

const std::vector<std::string>& CGeneralDlgModel::ServerTypeNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const ServerType& type : kServerTypes) all.emplace_back(type.name);
        return all;
    }();
    return names;
}

const std::vector<std::string>& CGeneralDlgModel::FirewallTypeNames() {
    static const std::vector<std::string> names(std::begin(kFirewallTypeNames),
                                                std::end(kFirewallTypeNames));
    return names;
}

const char* CGeneralDlgModel::StartTip() { return "Start server."; }
const char* CGeneralDlgModel::StopTip() { return "Stop Server."; }

void CGeneralDlgModel::Init() {
    ShowServerState(m_Host.IsServerRunning());
    FillControls();
}

void CGeneralDlgModel::ShowServerState(bool running) {
    m_State.startStopEnabled = true;
    m_State.startStopTip = running ? StopTip() : StartTip();
    m_State.startStopImage = running ? IDR_STOP : IDR_START;
    m_State.startStopPushedImage = running ? IDR_STOP_PUSHED : IDR_START_PUSHED;
    m_State.serverControlsEnabled = !running;
}

void CGeneralDlgModel::FillControls() {
    CSettings& settings = m_Host.WorkingSettings();
    const CGnrlSettings& general = *settings.getGeneralSettings();
    const CPrivacySettings& privacy = *settings.getPrivacySettings();
    m_bLoading = true;
    m_State.firewallType = FirewallIndex(general.getFireWallType());
    for (int i = 0; i < 4; ++i) {
        if (kServerTypes[i].listenerType == privacy.mListenerType) {
            m_State.serverType = i;
            m_State.serverTypeTip = kServerTypes[i].tip;
        }
    }
    m_State.serverPort = DecimalText(privacy.mListenerPort);
    m_State.autostart = settings.getSysConfig()->getLaunchAtStartup();
    m_State.firewall = general.getBehindFireWall();
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        CBaseServer::mChainSettings.SetBehindFirewall(m_State.firewall);
    }
    m_State.firewallControlsEnabled = m_State.firewall;
    m_State.firewallIP = general.getFireWallIP();
    m_State.firewallPort = DecimalText(general.getFireWallPort());
    m_State.trayNotifications = general.getIsBallonShow() != 0;
    m_bLoading = false;
    m_State.levelButton = 0;
    for (const LevelButton& level : kLevels) {
        if (level.level == general.getProtectionLevel()) m_State.levelButton = level.button;
    }
}

void CGeneralDlgModel::Modified(int kind) {
    if (!m_bLoading) m_Host.SetModified(true, kind);
}

void CGeneralDlgModel::OnServerPortChanged(const std::string& text) {
    Modified(5);
    m_State.serverPort = text;
    m_Host.WorkingSettings().getPrivacySettings()->mListenerPort =
        static_cast<platform::DWORD>(AsciiToInt(text));
}

void CGeneralDlgModel::OnServerTypeChanged(int index) {
    Modified(5);
    if (index < 0 || index > 3) return;
    m_State.serverType = index;
    m_State.serverTypeTip = kServerTypes[index].tip;
    m_Host.WorkingSettings().getPrivacySettings()->mListenerType = kServerTypes[index].listenerType;
}

void CGeneralDlgModel::OnFirewallClicked(bool checked) {
    Modified(5);
    m_State.firewall = checked;
    m_State.firewallControlsEnabled = checked;
    m_Host.WorkingSettings().getGeneralSettings()->setBehindFireWall(checked);
}

void CGeneralDlgModel::OnFirewallIPChanged(const std::string& text) {
    Modified(5);
    m_State.firewallIP = text;
    m_Host.WorkingSettings().getGeneralSettings()->setFireWallIP(text.c_str());
}

void CGeneralDlgModel::OnFirewallPortChanged(const std::string& text) {
    Modified(5);
    m_State.firewallPort = text;
    m_Host.WorkingSettings().getGeneralSettings()->setFireWallPort(
        static_cast<platform::DWORD>(AsciiToInt(text)));
}

void CGeneralDlgModel::OnFirewallTypeChanged(int index) {
    Modified(5);
    if (index < 0 || index > 3) return;
    m_State.firewallType = index;
    m_Host.WorkingSettings().getGeneralSettings()->setFireWallType(kFirewallTypes[index]);
}

void CGeneralDlgModel::OnAutostartClicked(bool checked) {
    if (m_bLoading) return;
    m_Host.SetModified(true, 5);
    m_State.autostart = checked;
    m_Host.WorkingSettings().getSysConfig()->setLaunchAtStartup(checked);
}

void CGeneralDlgModel::OnTrayClicked(bool checked) {
    Modified(0);
    m_State.trayNotifications = checked;
    m_Host.WorkingSettings().getGeneralSettings()->setIsBallonShow(checked ? 1 : 0);
}

void CGeneralDlgModel::ApplyPreset(int level, int kind) {
    Modified(kind);
    CSettings& settings = m_Host.WorkingSettings();
    settings.getGeneralSettings()->setProtectionLevel(static_cast<platform::DWORD>(level));
    switch (level) {
    case 1: settings.SetToMaximumProtection(); break;
    case 2: settings.SetToMediumProtection(); break;
    default: settings.SetToMinimumProtection(); break;
    }
    FillControls();
}

void CGeneralDlgModel::OnMaximum() { ApplyPreset(1, 1); }
void CGeneralDlgModel::OnDefault() { ApplyPreset(2, 2); }
void CGeneralDlgModel::OnMinimum() { ApplyPreset(3, 3); }

void CGeneralDlgModel::OnCustom() {
    Modified(4);
    m_Host.WorkingSettings().getGeneralSettings()->setProtectionLevel(4);
    m_State.levelButton = IDC_LEVEL_CUSTOM;
}

void CGeneralDlgModel::ResetServerPort() {
    platform::MessageBox(platform::HWND(), kPortUsed, kCaption, platform::MB_OK);
    // Setting the edit's text is a change of the edit like any other.
    OnServerPortChanged("0");
}

void CGeneralDlgModel::OnServerPortKillFocus() {
    const std::string text = m_State.serverPort;
    const CSettings& settings = m_Host.WorkingSettings();
    const CGnrlSettings& general = *settings.getGeneralSettings();
    const CPrivacySettings& privacy = *settings.getPrivacySettings();
    if (general.getBehindFireWall() && std::string(general.getFireWallIP()) == kLoopback &&
        DecimalText(general.getFireWallPort()) == text) {
        ResetServerPort();
    }
    const bool customProxy = privacy.mEnableIPShielding == 1 && privacy.mEnableProxyChain == 0 &&
                             privacy.mProxyBestChoice == 0;
    if (customProxy && privacy.mUserIP == kLoopback && DecimalText(privacy.mUserPort) == text) {
        ResetServerPort();
    }
}

void CGeneralDlgModel::OnStartStop() {
    m_Host.WorkingSettings().getPrivacySettings()->mListenerPort =
        static_cast<platform::DWORD>(AsciiToInt(m_State.serverPort));
    m_State.startStopEnabled = false;
    if (!m_Host.IsServerRunning() && !m_State.serverPort.empty()) {
        m_State.startStopTip = StopTip();
        Modified(0);
        m_Host.StartServer();
    } else {
        m_State.startStopTip = StartTip();
        m_Host.StopServer();
    }
}
