#include "panel/filtration/CAdvFltrInDlg.h"

#include <wx/checkbox.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/filtration/CAdServerDlg.h"
#include "panel/filtration/CFilterSwitchSlot.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ADV_FLTR_IN, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvFltrInDlg>(&host));
});

struct BoxPlace {
    int id;
    const char* caption;
    int x, y;
};

const BoxPlace kBoxes[] = {
    {IDC_IN_ENABLE, "", 10, 2},
    {IDC_IN_BANNER_ADS, "Banner Ads Filtrating", 12, 14},
    {IDC_IN_SCRIPTS, "Block Scripts", 12, 26},
    {IDC_IN_POPUPS, "Block Popup", 12, 38},
    {IDC_IN_IMAGES, "Block Images", 12, 50},
    {IDC_IN_FLASH, "Remove flash banners", 12, 62},
    {IDC_IN_TITLE, "Remove Page Title :", 12, 75},
    {IDC_IN_TIMER, "Disable Timer based processing", 12, 104},
    {IDC_IN_WND_CLOSEUP, "Disable Window Closeup event", 12, 116},
    {IDC_IN_STATUS_BAR, "Remove status bar modifiers", 12, 128},
    {IDC_IN_CONTEXT_MENU, "Remove context menu disablers", 12, 140},
    {IDC_IN_JAVA, "Disable java applets", 12, 152},
};
}  // namespace

CAdvFltrInDlg::CAdvFltrInDlg(CServerHost* host) : CBaseDlg(host) {
    if (host) {
        m_pLink = std::make_unique<CHostPageLink>(*host);
        m_pModel = std::make_unique<CAdvFltrInModel>(*m_pLink);
    }
}

CAdvFltrInDlg::~CAdvFltrInDlg() = default;

wxCheckBox* CAdvFltrInDlg::Box(int id) const {
    const auto found = m_Boxes.find(id);
    return found == m_Boxes.end() ? nullptr : found->second;
}

platform::HWND CAdvFltrInDlg::GetMessageWindow() const {
    return m_pSlot ? m_pSlot->hwnd() : platform::HWND();
}

bool CAdvFltrInDlg::OnInitDialog() {
    if (!m_pModel) return false;
    Build();
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const PageTip& tip : CAdvFltrInModel::Tips()) {
        if (wxWindow* control = FindWindow(tip.control)) m_pTip->AddTool(control, tip.text);
    }
    m_pModel->Load();
    ShowState();
    BindHandlers();
    m_pSlot = std::make_unique<CFilterSwitchSlot>(GetHost()->GetFilterSwitch(), CFilterSwitchSlot::eSlot::InFilter,
                                                  [this](bool on) { OnFilterSwitch(on); });
    return true;
}

void CAdvFltrInDlg::Build() {
    SetFont(wxFont(wxFontInfo(8)));
    new wxStaticBox(this, wxID_ANY, "        Enable Incoming Filtration", DuPoint(4, 2), DuSize(184, 88));
    new wxStaticBox(this, wxID_ANY, "Advanced", DuPoint(4, 92), DuSize(184, 74));
    for (const BoxPlace& b : kBoxes) m_Boxes[b.id] = new wxCheckBox(this, b.id, b.caption, DuPoint(b.x, b.y));
    m_pTitle = new wxTextCtrl(this, IDC_IN_TITLE_TEXT, {}, DuPoint(104, 74), DuSize(78, 12));
    m_pTitle->SetBackgroundColour(*wxWHITE);

    struct ButtonPlace {
        int id;
        GifFaces faces;
        int x;
    };
    const ButtonPlace buttons[] = {{IDC_IN_BANNER_SETTINGS, kFacesBannerSettings, 4},
                                   {IDC_IN_SELECT_ALL, kFacesSelectAll, 64},
                                   {IDC_IN_DESELECT_ALL, kFacesDeselectAll, 64}};
    for (const ButtonPlace& b : buttons) {
        auto* button = new CGifButton(this, b.id, DuPoint(b.x, 170));
        button->SetImages(b.faces.normal, b.faces.pushed, b.faces.disabled);
        button->SetUseDisabledImage(true);
        m_Buttons[b.id] = button;
    }
}

void CAdvFltrInDlg::BindHandlers() {
    for (auto& [id, box] : m_Boxes) {
        box->Bind(wxEVT_CHECKBOX, [this, id = id](wxCommandEvent&) {
            m_pModel->OnBoxClicked(id, m_Boxes[id]->GetValue());
            ShowState();
        });
    }
    m_pTitle->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (m_bShowing) return;
        m_pModel->OnTitleChanged(m_pTitle->GetValue().utf8_string());
        ShowState();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_pModel->OnSelectAll();
        ShowState();
    }, IDC_IN_SELECT_ALL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_pModel->OnDeselectAll();
        ShowState();
    }, IDC_IN_DESELECT_ALL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        CAdServerDlg dialog(GetHost());
        if (dialog.Create(nullptr)) dialog.ShowModal();
    }, IDC_IN_BANNER_SETTINGS);
}

void CAdvFltrInDlg::ShowState() {
    m_bShowing = true;
    for (auto& [id, box] : m_Boxes) {
        box->SetValue(m_pModel->IsChecked(id));
        box->Enable(m_pModel->GetControl(id).enabled);
    }
    const wxString title = wxString::FromUTF8(m_pModel->GetTitle());
    if (m_pTitle->GetValue() != title) m_pTitle->ChangeValue(title);
    m_pTitle->Enable(m_pModel->GetControl(IDC_IN_TITLE_TEXT).enabled);
    for (auto& [id, button] : m_Buttons) {
        const CAdvFltrInModel::Control& c = m_pModel->GetControl(id);
        button->Show(c.shown);
        button->Enable(c.enabled);
    }
    m_bShowing = false;
}

void CAdvFltrInDlg::OnFilterSwitch(bool on) {
    m_pModel->OnFilterSwitch(on);
    ShowState();
}
