#include "panel/pages/CAutoConfigDlgModel.h"

#include <stdexcept>

#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/IPageHost.h"
#include "relay/engine/CBaseServer.h"
#include "settings/CSettings.h"

CAutoConfigDlgModel::CAutoConfigDlgModel(IPageHost& host, InstalledTest installed)
    : m_Host(host),
      m_Installed(installed ? std::move(installed) : InstalledTest(IsProgramInstalled)),
      m_Boxes(Programs().size()) {}

const std::vector<CAutoConfigDlgModel::Program>& CAutoConfigDlgModel::Programs() {
    static const std::vector<Program> programs = {
        {IDC_AUTO_IE, "Internet Explorer", &CSysConfig::getAutoIE, &CSysConfig::setAutoIE},
        {IDC_AUTO_NETSCAPE, "Netscape", &CSysConfig::getAutoNetscape, &CSysConfig::setAutoNetscape},
        {IDC_AUTO_OPERA, "Opera", &CSysConfig::getAutoOpera, &CSysConfig::setAutoOpera},
        {IDC_AUTO_MSN, "MSN", &CSysConfig::getAutoMSN, &CSysConfig::setAutoMSN},
        {IDC_AUTO_YAHOO, "Yahoo", &CSysConfig::getAutoYahooIM, &CSysConfig::setAutoYahooIM},
        {IDC_AUTO_MIRC, "mIRC", &CSysConfig::getAutoCuteMirc, &CSysConfig::setAutoCuteMirc},
        {IDC_AUTO_WSFTP, "WS_FTP", &CSysConfig::getAutoWsFTP, &CSysConfig::setAutoWsFTP},
        {IDC_AUTO_CUTEFTP, "CuteFTP", &CSysConfig::getAutoCuteFtp, &CSysConfig::setAutoCuteFtp},
        {IDC_AUTO_KAZAA, "Kazaa", &CSysConfig::getAutoKaza, &CSysConfig::setAutoKaza},
        {IDC_AUTO_EDONKEY, "eDonkey", &CSysConfig::getAutoEDonkey, &CSysConfig::setAutoEDonkey},
    };
    return programs;
}

const std::vector<PageTip>& CAutoConfigDlgModel::Tips() {
    static const std::vector<PageTip> tips = {
        {IDC_AUTO_IE, "Configure Internet Explorer to connect through Kavelin"},
        {IDC_AUTO_NETSCAPE,
         "Configure Netscape to connect through Kavelin.\r\n Please make sure that all instances "
         "of Netscape are closed before applying any change."},
        {IDC_AUTO_OPERA, "Configure Opera to connect through Kavelin"},
        {IDC_AUTO_MSN, "Configure MSN to connect through Kavelin"},
        {IDC_AUTO_YAHOO, "Configure Yahoo to connect through Kavelin"},
        {IDC_AUTO_MIRC, "Configure mIRC to connect through Kavelin"},
        {IDC_AUTO_WSFTP, "Configure Ws.Ftp to connect through Kavelin"},
        {IDC_AUTO_CUTEFTP, "Configure CuteFtp to connect through Kavelin"},
        {IDC_AUTO_KAZAA, "Configure Kazaa to connect through Kavelin"},
        {IDC_AUTO_EDONKEY, "Configure eDonkey to connect through Kavelin."},
        {IDC_AUTO_OK, "Save and Exit."},
        {IDC_AUTO_CANCEL, "CANCEL "},
    };
    return tips;
}

bool CAutoConfigDlgModel::IsProgramInstalled(int box) {
    CPrefsKeeper& keeper = CBaseServer::mCnfgMngr;
    switch (box) {
    case IDC_AUTO_IE: return true;
    case IDC_AUTO_NETSCAPE: return keeper.m_NetscapeConfig.IsInstalled() != 0;
    case IDC_AUTO_OPERA: return keeper.m_OperaConfig.IsInstalled() != 0;
    case IDC_AUTO_MSN: return keeper.m_MSNConfig.IsInstalled() != 0;
    case IDC_AUTO_YAHOO: return keeper.m_YahooConfig.IsInstalled() != 0;
    case IDC_AUTO_MIRC: return keeper.m_MircConfig.IsInstalled() != 0;
    case IDC_AUTO_WSFTP: return keeper.m_WSFTPConfig.IsInstalled() != 0;
    case IDC_AUTO_CUTEFTP: return keeper.m_CuteFtpConfig.IsInstalled() != 0;
    case IDC_AUTO_KAZAA: return keeper.m_KAZAAConfig.IsInstalled() != 0;
    case IDC_AUTO_EDONKEY: return keeper.IsEDonkeyInstalled() != 0;
    default: return false;
    }
}

std::size_t CAutoConfigDlgModel::IndexOf(int box) {
    const auto& programs = Programs();
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (programs[i].box == box) return i;
    }
    throw std::out_of_range("no such integration box");
}

const CAutoConfigDlgModel::Box& CAutoConfigDlgModel::GetBox(int box) const {
    return m_Boxes[IndexOf(box)];
}

void CAutoConfigDlgModel::Init() {
    const CSysConfig& sys = *m_Host.WorkingSettings().getSysConfig();
    const auto& programs = Programs();
    for (std::size_t i = 0; i < programs.size(); ++i) {
        Box& box = m_Boxes[i];
        box.enabled = programs[i].box == IDC_AUTO_IE || m_Installed(programs[i].box);
        box.checked = box.enabled && (sys.*programs[i].get)();
    }
}

void CAutoConfigDlgModel::OnBoxClicked(int box, bool checked) {
    m_Boxes[IndexOf(box)].checked = checked;
    m_Host.SetModified(true, 0);
}

void CAutoConfigDlgModel::Apply() {
    CSysConfig& sys = *m_Host.WorkingSettings().getSysConfig();
    const auto& programs = Programs();
    for (std::size_t i = 0; i < programs.size(); ++i) (sys.*programs[i].set)(m_Boxes[i].checked);
    m_Host.ApplySettings();
}

void CAutoConfigDlgModel::Ok() { Apply(); }

void CAutoConfigDlgModel::Backup() {
    CSettings engine = CBaseServer::GetSettings();
    CBaseServer::mCnfgMngr.BackupConfiguration(engine.getSysConfig());
    m_bRestoreEnabled = true;
}

void CAutoConfigDlgModel::Restore() {
    CSettings engine = CBaseServer::GetSettings();
    CBaseServer::mCnfgMngr.RestoreConfiguration(engine.getSysConfig());
}
