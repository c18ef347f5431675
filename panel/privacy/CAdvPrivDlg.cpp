#include "panel/privacy/CAdvPrivDlg.h"

#include <algorithm>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "controls/CToolTipCtrlEx.h"
#include "controls/CEditFilter.h"
#include "panel/filtration/CFilterSwitchSlot.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"
#include "panel/privacy/AdvancedPageIds.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ADV_PRIVACY, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvPrivDlg>(&host));
});

wxTextCtrl* MakeEdit(wxWindow* parent, int id, int width) {
    auto* edit = new wxTextCtrl(parent, id, {}, wxDefaultPosition, {width, 24});
    edit->SetBackgroundColour(*wxWHITE);
    return edit;
}
}  // namespace

CAdvPrivDlg::CAdvPrivDlg(CServerHost* host) : CBaseDlg(host) {
    if (host) {
        m_pLink = std::make_unique<CHostPageLink>(*host);
        m_pModel = std::make_unique<CAdvPrivDlgModel>(*m_pLink);
    }
}

CAdvPrivDlg::~CAdvPrivDlg() = default;

platform::HWND CAdvPrivDlg::GetNoticeWindow() const {
    return m_pNotices ? m_pNotices->hwnd() : platform::HWND();
}

bool CAdvPrivDlg::OnInitDialog() {
    if (!m_pModel) return false;
    Build();
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const PageTip& tip : CAdvPrivDlgModel::Tips()) {
        if (wxWindow* control = FindWindow(tip.control)) m_pTip->AddTool(control, tip.text);
    }
    m_pModel->Init();
    ShowState();
    BindHandlers();
    m_pNotices = std::make_unique<CFilterSwitchSlot>(
        GetHost()->GetFilterSwitch(), CFilterSwitchSlot::eSlot::Privacy,
        [this](bool on) { Change([&] { m_pModel->OnPrivacyNotice(on); }); });
    return true;
}

// One control a row, indented under the radio it belongs to; the user
// proxy's address and port share a row, its type takes the next, their
// fields in one column; each row placed by what its texts need.
void CAdvPrivDlg::Build() {
    SetSize(DuSize(265, 198));
    constexpr int kLeft = 12;
    constexpr int kIndent = 24;
    constexpr int kFields = kLeft + 2 * kIndent;
    constexpr int kPairGap = 12;
    m_pShield = new wxCheckBox(this, IDC_IP_SHIELDING, "IP Shielding (Connect Using Proxy Chain )");
    m_pModes = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_ONE_PROXY, "Use one Proxy", wxDefaultPosition},
                                               {IDC_PROXY_CHAIN, "Use Proxy Chain", wxDefaultPosition}});
    m_pProxyChoices = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_BEST_PROXY, "Choose best proxy", wxDefaultPosition},
                                               {IDC_USER_PROXY, "User defined Proxy", wxDefaultPosition}});
    auto* ipLabel = new wxStaticText(this, IDC_USER_IP_LABEL, "IP:");
    m_pUserIP = MakeEdit(this, IDC_USER_IP, 108);
    auto* portLabel = new wxStaticText(this, IDC_USER_PORT_LABEL, "Port:");
    m_pUserPort = MakeEdit(this, IDC_USER_PORT, 54);
    auto* typeLabel = new wxStaticText(this, IDC_USER_TYPE_LABEL, "Type:");
    wxArrayString types;
    for (const std::string& name : CAdvPrivDlgModel::TypeNames()) types.Add(name);
    m_pUserType = new wxChoice(this, IDC_USER_TYPE, wxDefaultPosition, {96, -1}, types);
    auto* lengthLabel = new wxStaticText(this, IDC_CHAIN_LENGTH_LABEL, "Chain Length:");
    m_pChainLength = MakeEdit(this, IDC_CHAIN_LENGTH, 40);
    auto* timerLabel = new wxStaticText(this, IDC_CHAIN_TIMER_LABEL, "Time To Change :");
    m_pChainTimer = MakeEdit(this, IDC_CHAIN_TIMER, 48);
    auto* unit = new wxStaticText(this, IDC_CHAIN_TIMER_UNIT, "Sec.");
    m_pPrivateProxies = new wxCheckBox(this, IDC_PRIVATE_PROXIES, "Use Kavelin Proxies");

    PlaceRow(kLeft, 14, {m_pShield});
    PlaceRow(kLeft + kIndent, 42, {m_pModes->Button(IDC_ONE_PROXY)});
    PlaceRow(kFields - kIndent / 2, 66, {m_pProxyChoices->Button(IDC_BEST_PROXY)});
    PlaceRow(kFields - kIndent / 2, 90, {m_pProxyChoices->Button(IDC_USER_PROXY)});
    FitToText(ipLabel);
    FitToText(typeLabel);
    const int fields = kFields + std::max(ipLabel->GetSize().x, typeLabel->GetSize().x) + kRowGap;
    PlaceRow(kFields, 120, {ipLabel});
    PlaceRow(PlaceRow(fields, 120, {m_pUserIP}) + kPairGap, 120, {portLabel, m_pUserPort});
    PlaceRow(kFields, 154, {typeLabel});
    PlaceRow(fields, 154, {m_pUserType});
    PlaceRow(kLeft + kIndent, 192, {m_pModes->Button(IDC_PROXY_CHAIN)});
    PlaceRow(PlaceRow(kFields - kIndent / 2, 220, {lengthLabel, m_pChainLength}) + kPairGap, 220,
             {timerLabel, m_pChainTimer, unit});
    PlaceRow(kLeft, 256, {m_pPrivateProxies});
    // The groups were made one after another; the keyboard follows the rows.
    m_pModes->Button(IDC_PROXY_CHAIN)->MoveAfterInTabOrder(m_pUserType);
    CEditFilter::IpAddress(*m_pUserIP);
    CEditFilter::DigitsOnly(*m_pChainLength);
    CEditFilter::DigitsOnly(*m_pChainTimer);
}

template <class Action>
void CAdvPrivDlg::Change(Action action) {
    if (m_bShowing) return;
    action();
    ShowState();
}

void CAdvPrivDlg::BindHandlers() {
    CAdvPrivDlgModel& m = *m_pModel;
    m_pShield->Bind(wxEVT_CHECKBOX, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnShieldClicked(m_pShield->GetValue()); });
    });
    m_pPrivateProxies->Bind(wxEVT_CHECKBOX, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnPrivateProxiesClicked(m_pPrivateProxies->GetValue()); });
    });
    const std::pair<int, void (CAdvPrivDlgModel::*)()> commands[] = {
        {IDC_ONE_PROXY, &CAdvPrivDlgModel::OnOneProxy},
        {IDC_BEST_PROXY, &CAdvPrivDlgModel::OnBestProxy},
        {IDC_USER_PROXY, &CAdvPrivDlgModel::OnUserProxy},
        {IDC_PROXY_CHAIN, &CAdvPrivDlgModel::OnChain}};
    for (auto [id, command] : commands) {
        wxRadioButton* radio = m_pModes->Button(id) ? m_pModes->Button(id) : m_pProxyChoices->Button(id);
        radio->Bind(wxEVT_RADIOBUTTON, [this, &m, command](wxCommandEvent&) {
            Change([&] { (m.*command)(); });
        });
    }
    const std::pair<wxTextCtrl*, void (CAdvPrivDlgModel::*)(const std::string&)> edits[] = {
        {m_pChainLength, &CAdvPrivDlgModel::OnChainLengthChanged},
        {m_pChainTimer, &CAdvPrivDlgModel::OnChainTimerChanged},
        {m_pUserPort, &CAdvPrivDlgModel::OnUserPortChanged},
        {m_pUserIP, &CAdvPrivDlgModel::OnUserIPChanged}};
    for (auto [edit, handler] : edits) {
        edit->Bind(wxEVT_TEXT, [this, &m, edit, handler](wxCommandEvent&) {
            Change([&] { (m.*handler)(edit->GetValue().utf8_string()); });
        });
    }
    m_pUserType->Bind(wxEVT_CHOICE, [this, &m](wxCommandEvent&) {
        Change([&] { m.OnUserTypeChanged(m_pUserType->GetStringSelection().utf8_string()); });
    });
}

void CAdvPrivDlg::ShowState() {
    m_bShowing = true;
    const CAdvPrivDlgModel::State& s = m_pModel->GetState();
    m_pShield->SetValue(s.shield);
    m_pPrivateProxies->SetValue(s.privateProxies);
    m_pModes->Check(s.chain ? IDC_PROXY_CHAIN : s.oneProxy ? IDC_ONE_PROXY : 0);
    m_pProxyChoices->Check(s.bestProxy ? IDC_BEST_PROXY : s.userProxy ? IDC_USER_PROXY : 0);
    const std::pair<wxTextCtrl*, const std::string*> texts[] = {{m_pChainLength, &s.chainLength},
                                                                {m_pChainTimer, &s.chainTimer},
                                                                {m_pUserIP, &s.userIP},
                                                                {m_pUserPort, &s.userPort}};
    for (auto [edit, text] : texts) {
        const wxString value = wxString::FromUTF8(*text);
        if (edit->GetValue() != value) edit->ChangeValue(value);
    }
    m_pUserType->SetSelection(s.userType);
    for (wxWindow* child : GetChildren()) {
        if (child->GetId() != IDC_IP_SHIELDING && child->GetId() > 0) child->Enable(s.IsEnabled(child->GetId()));
    }
    m_bShowing = false;
}
