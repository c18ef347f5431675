#include "panel/pages/CGeneralDlg.h"

#include <algorithm>

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
    m_pModel->Init();
    ShowState();
    BindHandlers();
    return true;
}

// The template's three groups, each row placed by what its texts need.
void CGeneralDlg::Build() {
    SetSize(DuSize(275, 213));
    constexpr int kLeft = 6;
    constexpr int kWidth = 399;
    constexpr int kInside = 15;
    constexpr int kPairGap = 12;
    const int right = kLeft + kWidth - 9;

    // Port and type one above the other, their fields in one column; the
    // start/stop button beside both.
    new wxStaticBox(this, wxID_ANY, "Server Settings", {kLeft, 2}, {kWidth, 96});
    auto* portLabel = new wxStaticText(this, wxID_ANY, "Server Port");
    m_pPort = new wxTextCtrl(this, IDC_SERVER_PORT, {}, wxDefaultPosition, {60, 24});
    auto* typeLabel = new wxStaticText(this, wxID_ANY, "Server Type");
    m_pServerType = new wxChoice(this, IDC_SERVER_TYPE, wxDefaultPosition, {96, -1},
                                 Names(CGeneralDlgModel::ServerTypeNames()));
    m_pStartStop = new CGifButton(this, IDC_START_STOP);
    m_pStartStop->SetImages(IDR_START, IDR_START_PUSHED);
    for (wxWindow* label : {static_cast<wxWindow*>(portLabel), static_cast<wxWindow*>(typeLabel)}) FitToText(label);
    const int fields = kInside + std::max(portLabel->GetSize().x, typeLabel->GetSize().x) + kRowGap;
    PlaceRow(kInside, 36, {portLabel});
    PlaceRow(fields, 36, {m_pPort});
    PlaceRow(kInside, 72, {typeLabel});
    PlaceRow(fields, 72, {m_pServerType});
    m_pStartStop->Move(right - m_pStartStop->GetSize().x, 54 - m_pStartStop->GetSize().y / 2);

    new wxStaticBox(this, wxID_ANY, "Configuration Settings", {kLeft, 104}, {kWidth, 152});
    m_pAutostart = new wxCheckBox(this, IDC_AUTOSTART, "Autostart Kavelin");
    m_pTray = new wxCheckBox(this, IDC_TRAY_NOTIFY, "Show Tray Notifications");
    m_pAutoConfig = new CGifButton(this, IDC_AUTO_CONFIG);
    m_pAutoConfig->SetImages(IDR_AUTO_CONFIG, IDR_AUTO_CONFIG_PUSHED);
    m_pFirewall = new wxCheckBox(this, IDC_FIREWALL, "Firewall Settings");
    PlaceRow(kInside, 134, {m_pAutostart});
    PlaceRow(kInside, 158, {m_pTray});
    PlaceRow(kInside, 182, {m_pFirewall});
    m_pAutoConfig->Move(right - m_pAutoConfig->GetSize().x, 134 - m_pAutoConfig->GetSize().y / 2);
    new wxStaticBox(this, wxID_ANY, wxString(), {kInside, 194}, {kWidth - 18, 54});
    auto* ipLabel = new wxStaticText(this, wxID_ANY, "IP");
    m_pFirewallIP = new wxTextCtrl(this, IDC_FIREWALL_IP, {}, wxDefaultPosition, {108, 24});
    auto* firewallPortLabel = new wxStaticText(this, wxID_ANY, "Port");
    m_pFirewallPort = new wxTextCtrl(this, IDC_FIREWALL_PORT, {}, wxDefaultPosition, {54, 24});
    auto* firewallTypeLabel = new wxStaticText(this, wxID_ANY, "Type");
    m_pFirewallType = new wxChoice(this, IDC_FIREWALL_TYPE, wxDefaultPosition, {96, -1},
                                   Names(CGeneralDlgModel::FirewallTypeNames()));
    const int firewallRow = 224;
    int x = PlaceRow(kInside + 9, firewallRow, {ipLabel, m_pFirewallIP}) + kPairGap;
    x = PlaceRow(x, firewallRow, {firewallPortLabel, m_pFirewallPort}) + kPairGap;
    PlaceRow(x, firewallRow, {firewallTypeLabel, m_pFirewallType});
    for (wxTextCtrl* edit : {m_pPort, m_pFirewallIP, m_pFirewallPort}) edit->SetBackgroundColour(*wxWHITE);
    CEditFilter::IpAddress(*m_pFirewallIP);

    new wxStaticBox(this, wxID_ANY, "Protection Level", {kLeft, 262}, {kWidth, 58});
    m_pLevels = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_LEVEL_MAXIMUM, "Maximum", wxDefaultPosition},
                                               {IDC_LEVEL_DEFAULT, "Default", wxDefaultPosition},
                                               {IDC_LEVEL_MINIMUM, "Minimum", wxDefaultPosition},
                                               {IDC_LEVEL_CUSTOM, "Custom", wxDefaultPosition}});
    const int levels[] = {IDC_LEVEL_MAXIMUM, IDC_LEVEL_DEFAULT, IDC_LEVEL_MINIMUM, IDC_LEVEL_CUSTOM};
    for (int i = 0; i < 4; ++i) PlaceRow(kInside + i * (kWidth - 18) / 4, 296, {m_pLevels->Button(levels[i])});
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
