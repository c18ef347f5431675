#include "panel/privacy/CAdvPrivDlg.h"

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

struct Label {
    int id;
    const char* text;
    int x, y;
};

constexpr Label kLabels[] = {
    {IDC_USER_IP_LABEL, "IP:", 40, 68},          {IDC_USER_PORT_LABEL, "Port:", 128, 68},
    {IDC_USER_TYPE_LABEL, "Type:", 190, 68},     {IDC_CHAIN_LENGTH_LABEL, "Chain Length:", 28, 104},
    {IDC_CHAIN_TIMER_LABEL, "Time To Change :", 118, 104}, {IDC_CHAIN_TIMER_UNIT, "Sec.", 214, 104},
};

wxTextCtrl* MakeEdit(wxWindow* parent, int id, int x, int y, int cx) {
    auto* edit = new wxTextCtrl(parent, id, {}, DuPoint(x, y), DuSize(cx, 12));
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

void CAdvPrivDlg::Build() {
    SetSize(DuSize(265, 198));
    m_pShield = new wxCheckBox(this, IDC_IP_SHIELDING, "IP Shielding (Connect Using Proxy Chain )",
                               DuPoint(8, 6));
    m_pModes = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_ONE_PROXY, "Use one Proxy", DuPoint(16, 22)},
                                               {IDC_PROXY_CHAIN, "Use Proxy Chain", DuPoint(16, 88)}});
    m_pProxyChoices = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_BEST_PROXY, "Choose best proxy", DuPoint(28, 36)},
                                               {IDC_USER_PROXY, "User defined Proxy", DuPoint(28, 50)}});
    for (const Label& label : kLabels) new wxStaticText(this, label.id, label.text, DuPoint(label.x, label.y));
    m_pUserIP = MakeEdit(this, IDC_USER_IP, 52, 66, 70);
    m_pUserPort = MakeEdit(this, IDC_USER_PORT, 148, 66, 36);
    wxArrayString types;
    for (const std::string& name : CAdvPrivDlgModel::TypeNames()) types.Add(name);
    m_pUserType = new wxChoice(this, IDC_USER_TYPE, DuPoint(212, 65), DuSize(50, 14), types);
    m_pChainLength = MakeEdit(this, IDC_CHAIN_LENGTH, 84, 102, 24);
    m_pChainTimer = MakeEdit(this, IDC_CHAIN_TIMER, 180, 102, 30);
    CEditFilter::IpAddress(*m_pUserIP);
    CEditFilter::DigitsOnly(*m_pChainLength);
    CEditFilter::DigitsOnly(*m_pChainTimer);
    m_pPrivateProxies = new wxCheckBox(this, IDC_PRIVATE_PROXIES, "Use Kavelin Proxies", DuPoint(8, 126));
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
