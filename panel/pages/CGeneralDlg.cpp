#include "panel/pages/CGeneralDlg.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "controls/CGifButton.h"
#include "controls/CEditFilter.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/CAutoConfigDlg.h"
#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/PageLayout.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_GENERAL, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CGeneralDlg>(&host));
});

wxArrayString Names(const std::vector<std::string>& names) {
    wxArrayString all;
    for (const std::string& name : names) all.Add(wxString::FromUTF8(name));
    return all;
}
}  // namespace

CGeneralDlg::CGeneralDlg(CServerHost* host) : CBaseDlg(host) {
    if (host) {
        m_pLink = std::make_unique<CHostPageLink>(*host);
        m_pModel = std::make_unique<CGeneralDlgModel>(*m_pLink);
    }
}

CGeneralDlg::~CGeneralDlg() {
    // A server-port check still pending runs before the page goes.
    if (m_pPort && FindFocus() == m_pPort) m_pModel->OnServerPortKillFocus();
}

bool CGeneralDlg::OnInitDialog() {
    if (!m_pModel) return false;
    Build();
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const PageTip& tip : CGeneralDlgModel::Tips()) {
        if (wxWindow* control = FindWindow(tip.control)) SetTip(control, tip.text);
    }
    m_pAutoConfig->SetImages(IDR_AUTO_CONFIG, IDR_AUTO_CONFIG_PUSHED);
    m_pModel->Init();
    ShowState();
    BindHandlers();
    return true;
}

void CGeneralDlg::Build() {
    SetSize(DuSize(275, 213));
    new wxStaticBox(this, wxID_ANY, "Server Settings", DuPoint(4, 2), DuSize(267, 42));
    new wxStaticText(this, wxID_ANY, "Server Port", DuPoint(10, 16));
    m_pPort = new wxTextCtrl(this, IDC_SERVER_PORT, {}, DuPoint(54, 14), DuSize(40, 12));
    new wxStaticText(this, wxID_ANY, "Server Type", DuPoint(102, 16));
    m_pServerType = new wxChoice(this, IDC_SERVER_TYPE, DuPoint(146, 13), DuSize(56, 14),
                                 Names(CGeneralDlgModel::ServerTypeNames()));
    m_pStartStop = new CGifButton(this, IDC_START_STOP, DuPoint(214, 12));

    new wxStaticBox(this, wxID_ANY, "Configuration Settings", DuPoint(4, 48), DuSize(267, 90));
    m_pAutostart = new wxCheckBox(this, IDC_AUTOSTART, "Autostart Kavelin", DuPoint(10, 60));
    m_pTray = new wxCheckBox(this, IDC_TRAY_NOTIFY, "Show Tray Notifications", DuPoint(10, 74));
    m_pAutoConfig = new CGifButton(this, IDC_AUTO_CONFIG, DuPoint(160, 60));
    m_pFirewall = new wxCheckBox(this, IDC_FIREWALL, "Firewall Settings", DuPoint(10, 90));
    new wxStaticBox(this, wxID_ANY, wxString(), DuPoint(10, 100), DuSize(255, 32));
    new wxStaticText(this, wxID_ANY, "IP", DuPoint(16, 113));
    m_pFirewallIP = new wxTextCtrl(this, IDC_FIREWALL_IP, {}, DuPoint(28, 111), DuSize(70, 12));
    new wxStaticText(this, wxID_ANY, "Port", DuPoint(104, 113));
    m_pFirewallPort = new wxTextCtrl(this, IDC_FIREWALL_PORT, {}, DuPoint(122, 111), DuSize(36, 12));
    new wxStaticText(this, wxID_ANY, "Type", DuPoint(166, 113));
    m_pFirewallType = new wxChoice(this, IDC_FIREWALL_TYPE, DuPoint(186, 110), DuSize(60, 14),
                                   Names(CGeneralDlgModel::FirewallTypeNames()));
    for (wxTextCtrl* edit : {m_pPort, m_pFirewallIP, m_pFirewallPort}) edit->SetBackgroundColour(*wxWHITE);
    CEditFilter::IpAddress(*m_pFirewallIP);

    new wxStaticBox(this, wxID_ANY, "Protection Level", DuPoint(4, 142), DuSize(267, 40));
    m_pLevels = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_LEVEL_MAXIMUM, "Maximum", DuPoint(12, 158)},
                                               {IDC_LEVEL_DEFAULT, "Default", DuPoint(76, 158)},
                                               {IDC_LEVEL_MINIMUM, "Minimum", DuPoint(140, 158)},
                                               {IDC_LEVEL_CUSTOM, "Custom", DuPoint(204, 158)}});
}

void CGeneralDlg::SetTip(wxWindow* control, const std::string& text) {
    auto found = m_Tips.find(control);
    if (found != m_Tips.end()) {
        if (found->second == text) return;
        m_pTip->DelTool(control);
    }
    m_Tips[control] = text;
    m_pTip->AddTool(control, text);
}

template <class Action>
void CGeneralDlg::Change(Action action) {
    if (m_bShowing) return;
    action();
    ShowState();
}

void CGeneralDlg::BindHandlers() {
    CGeneralDlgModel& m = *m_pModel;
    m_pPort->Bind(wxEVT_TEXT, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnServerPortChanged(m_pPort->GetValue().utf8_string()); });
    });
    m_pPort->Bind(wxEVT_KILL_FOCUS, [this, &m](wxFocusEvent& e) {
        e.Skip();
        Change([&] { m.OnServerPortKillFocus(); });
    });
    m_pServerType->Bind(wxEVT_CHOICE, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnServerTypeChanged(m_pServerType->GetSelection()); });
    });
    m_pFirewall->Bind(wxEVT_CHECKBOX, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnFirewallClicked(m_pFirewall->GetValue()); });
    });
    m_pFirewallIP->Bind(wxEVT_TEXT, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnFirewallIPChanged(m_pFirewallIP->GetValue().utf8_string()); });
    });
    m_pFirewallPort->Bind(wxEVT_TEXT, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnFirewallPortChanged(m_pFirewallPort->GetValue().utf8_string()); });
    });
    m_pFirewallType->Bind(wxEVT_CHOICE, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnFirewallTypeChanged(m_pFirewallType->GetSelection()); });
    });
    m_pAutostart->Bind(wxEVT_CHECKBOX, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnAutostartClicked(m_pAutostart->GetValue()); });
    });
    m_pTray->Bind(wxEVT_CHECKBOX, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnTrayClicked(m_pTray->GetValue()); });
    });
    const std::pair<int, void (CGeneralDlgModel::*)()> levels[] = {{IDC_LEVEL_MAXIMUM, &CGeneralDlgModel::OnMaximum},
                                                                   {IDC_LEVEL_DEFAULT, &CGeneralDlgModel::OnDefault},
                                                                   {IDC_LEVEL_MINIMUM, &CGeneralDlgModel::OnMinimum},
                                                                   {IDC_LEVEL_CUSTOM, &CGeneralDlgModel::OnCustom}};
    for (auto [id, command] : levels) {
        m_pLevels->Button(id)->Bind(wxEVT_RADIOBUTTON,
                                    [this, &m, command](wxCommandEvent&) { Change([&] { (m.*command)(); }); });
    }
    m_pStartStop->Bind(wxEVT_BUTTON, [this, &m](wxCommandEvent&) { Change([&] { m.OnStartStop(); }); });
    m_pAutoConfig->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        CAutoConfigDlg dialog(GetHost());
        if (dialog.Create(IDD_AUTO_CONFIG, this, {}, wxDefaultSize, wxBORDER_NONE)) dialog.ShowModal();
    });
}

void CGeneralDlg::ShowState() {
    m_bShowing = true;
    const CGeneralDlgModel::State& s = m_pModel->GetState();
    const std::pair<wxTextCtrl*, const std::string*> texts[] = {
        {m_pPort, &s.serverPort}, {m_pFirewallIP, &s.firewallIP}, {m_pFirewallPort, &s.firewallPort}};
    for (auto [edit, text] : texts) {
        const wxString value = wxString::FromUTF8(*text);
        if (edit->GetValue() != value) edit->ChangeValue(value);
    }
    m_pServerType->SetSelection(s.serverType);
    if (!s.serverTypeTip.empty()) SetTip(m_pServerType, s.serverTypeTip);
    m_pFirewall->SetValue(s.firewall);
    m_pFirewallType->SetSelection(s.firewallType);
    for (wxWindow* control : {static_cast<wxWindow*>(m_pFirewallIP), static_cast<wxWindow*>(m_pFirewallPort),
                              static_cast<wxWindow*>(m_pFirewallType)}) {
        control->Enable(s.firewallControlsEnabled);
    }
    m_pAutostart->SetValue(s.autostart);
    m_pTray->SetValue(s.trayNotifications);
    m_pLevels->Check(s.levelButton);
    if (s.startStopImage != 0 && m_pStartStop->NormalId() != static_cast<int>(s.startStopImage)) {
        m_pStartStop->SetImages(static_cast<int>(s.startStopImage), static_cast<int>(s.startStopPushedImage));
        m_pStartStop->Refresh();
    }
    m_pStartStop->Enable(s.startStopEnabled);
    SetTip(m_pStartStop, s.startStopTip);
    m_pPort->Enable(s.serverControlsEnabled);
    m_pServerType->Enable(s.serverControlsEnabled);
    m_bShowing = false;
}

void CGeneralDlg::OnServerStopped() {
    m_pModel->ShowServerState(false);
    ShowState();
}

void CGeneralDlg::OnServerStarted() {
    m_pModel->ShowServerState(true);
    ShowState();
}

void CGeneralDlg::SelectCustomLevel() {
    m_pModel->OnCustom();
    ShowState();
}
