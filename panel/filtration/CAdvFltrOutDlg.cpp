#include "panel/filtration/CAdvFltrOutDlg.h"

#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/statbox.h>

#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/filtration/CAddFltrSrvrDlg.h"
#include "panel/filtration/CFilterSwitchSlot.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ADV_FLTR_OUT, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvFltrOutDlg>(&host));
});

struct BoxPlace {
    int id;
    const char* caption;
    int x, y;
};

const BoxPlace kBoxes[] = {
    {IDC_OUT_ENABLE, "", 10, 2},
    {IDC_OUT_OS_SHIELD, "OS && Browser Shielding", 12, 14},
    {IDC_OUT_COOKIES, "Disable Cookies", 12, 26},
    {IDC_OUT_REFERRER, "Referrer Blocking", 12, 38},
    {IDC_OUT_FILE_CACHE, "Disable Internet file Cache", 12, 50},
    {IDC_OUT_SERVER_LIST, "Server stop List", 12, 64},
};
}  // namespace

CAdvFltrOutDlg::CAdvFltrOutDlg(CServerHost* host) : CBaseDlg(host) {
    if (host) {
        m_pLink = std::make_unique<CHostPageLink>(*host);
        m_pModel = std::make_unique<CAdvFltrOutModel>(*m_pLink, [this](const std::string& sample) {
            return CAddFltrSrvrDlg::Ask(GetHost(), this, sample);
        });
    }
}

CAdvFltrOutDlg::~CAdvFltrOutDlg() = default;

wxCheckBox* CAdvFltrOutDlg::Box(int id) const {
    const auto found = m_Boxes.find(id);
    return found == m_Boxes.end() ? nullptr : found->second;
}

platform::HWND CAdvFltrOutDlg::GetMessageWindow() const {
    return m_pSlot ? m_pSlot->hwnd() : platform::HWND();
}

bool CAdvFltrOutDlg::OnInitDialog() {
    if (!m_pModel) return false;
    Build();
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const PageTip& tip : CAdvFltrOutModel::Tips()) {
        if (wxWindow* control = FindWindow(tip.control)) m_pTip->AddTool(control, tip.text);
    }
    m_pModel->Load();
    ShowState();
    BindHandlers();
    m_pSlot = std::make_unique<CFilterSwitchSlot>(GetHost()->GetFilterSwitch(), CFilterSwitchSlot::eSlot::OutFilter,
                                                  [this](bool on) { OnFilterSwitch(on); });
    return true;
}

void CAdvFltrOutDlg::Build() {
    SetFont(wxFont(wxFontInfo(8)));
    new wxStaticBox(this, wxID_ANY, "        Enable Outgoing Filtration", DuPoint(4, 2), DuSize(184, 152));
    for (const BoxPlace& b : kBoxes) m_Boxes[b.id] = new wxCheckBox(this, b.id, b.caption, DuPoint(b.x, b.y));
    m_pList = new wxListBox(this, IDC_OUT_STOP_LIST, DuPoint(12, 78), DuSize(116, 70), 0, nullptr, wxLB_SINGLE);
    m_pList->SetBackgroundColour(*wxWHITE);

    struct ButtonPlace {
        int id;
        GifFaces faces;
        int x, y;
    };
    const ButtonPlace buttons[] = {{IDC_OUT_ADD, kFacesAdd, 132, 78},
                                   {IDC_OUT_REMOVE, kFacesRemove, 132, 98},
                                   {IDC_OUT_SELECT_ALL, kFacesSelectAll, 4, 158},
                                   {IDC_OUT_DESELECT_ALL, kFacesDeselectAll, 4, 158}};
    for (const ButtonPlace& b : buttons) {
        auto* button = new CGifButton(this, b.id, DuPoint(b.x, b.y));
        button->SetImages(b.faces.normal, b.faces.pushed, b.faces.disabled);
        button->SetUseDisabledImage(true);
        m_Buttons[b.id] = button;
    }
}

void CAdvFltrOutDlg::BindHandlers() {
    for (auto& [id, box] : m_Boxes) {
        box->Bind(wxEVT_CHECKBOX, [this, id = id](wxCommandEvent&) {
            m_pModel->OnBoxClicked(id, m_Boxes[id]->GetValue());
            ShowState();
        });
    }
    const auto change = [this](auto action) {
        return [this, action](wxCommandEvent&) {
            action();
            ShowState();
        };
    };
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnAdd(); }), IDC_OUT_ADD);
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnRemove(m_pList->GetSelection()); }), IDC_OUT_REMOVE);
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnSelectAll(); }), IDC_OUT_SELECT_ALL);
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnDeselectAll(); }), IDC_OUT_DESELECT_ALL);
}

void CAdvFltrOutDlg::ShowState() {
    for (auto& [id, box] : m_Boxes) {
        box->SetValue(m_pModel->IsChecked(id));
        box->Enable(m_pModel->GetControl(id).enabled);
    }
    wxArrayString lines;
    for (const std::string& line : m_pModel->GetLines()) lines.Add(wxString::FromUTF8(line));
    if (m_pList->GetStrings() != lines) m_pList->Set(lines);
    m_pList->Enable(m_pModel->GetControl(IDC_OUT_STOP_LIST).enabled);
    for (auto& [id, button] : m_Buttons) {
        const CAdvFltrOutModel::Control& c = m_pModel->GetControl(id);
        button->Show(c.shown);
        button->Enable(c.enabled);
    }
}

void CAdvFltrOutDlg::OnFilterSwitch(bool on) {
    m_pModel->OnFilterSwitch(on);
    ShowState();
}
