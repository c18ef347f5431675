#include "panel/pages/CAutoConfigDlg.h"

#include <vector>

#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/statbox.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CGifButton.h"
#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/PageLayout.h"

namespace {

struct GroupPlace {
    int id;
    const char* title;
    int y, height;
    wxColour background;  // from the skin's COLORREF values
};

const GroupPlace kGroups[] = {
    {wxID_ANY, "Integrate With Browsers", 20, 44, wxColour()},
    {IDC_GROUP_CHAT, "Integrate With Chat Programs", 68, 56, wxColour(0xF3, 0xF8, 0xFF)},
    {IDC_GROUP_FTP, "Integrate With FTP Clients", 128, 44, wxColour(0xEC, 0xF3, 0xFF)},
    {IDC_GROUP_P2P, "Integrate With P2P Applications", 176, 44, wxColour(0xE3, 0xEE, 0xFF)},
};

// Each box with its program's picture beside it (dialog units).
struct BoxPlace {
    int id;
    int x, y;
    unsigned picture;
};

const BoxPlace kBoxes[] = {
    {IDC_AUTO_IE, 40, 32, 217},      {IDC_AUTO_NETSCAPE, 150, 32, 219}, {IDC_AUTO_OPERA, 40, 46, 215},
    {IDC_AUTO_MSN, 40, 80, 218},     {IDC_AUTO_YAHOO, 150, 80, 222},    {IDC_AUTO_MIRC, 40, 96, 216},
    {IDC_AUTO_WSFTP, 40, 140, 314},  {IDC_AUTO_CUTEFTP, 150, 140, 315}, {IDC_AUTO_KAZAA, 40, 188, 220},
    {IDC_AUTO_EDONKEY, 150, 188, 221},
};
constexpr int kPictureGap = 6;  // pixels between a picture and its box

}  // namespace

CAutoConfigDlg::CAutoConfigDlg(CServerHost* host) : CPopupDlg(host) {
    if (host) {
        m_pLink = std::make_unique<CHostPageLink>(*host);
        m_pModel = std::make_unique<CAutoConfigDlgModel>(*m_pLink);
    }
}

wxCheckBox* CAutoConfigDlg::Box(int id) const {
    auto found = m_Boxes.find(id);
    return found == m_Boxes.end() ? nullptr : found->second;
}

CAnimatedGifStatic* CAutoConfigDlg::Picture(int box) const {
    auto found = m_Pictures.find(box);
    return found == m_Pictures.end() ? nullptr : found->second;
}

bool CAutoConfigDlg::OnInitDialog() {
    if (!m_pModel) return false;
    BuildPopup(DuSize(304, 265));

    new wxStaticBox(this, wxID_ANY, "Program Integration", DuPoint(4, 4), DuSize(296, 222));
    for (const GroupPlace& g : kGroups) {
        auto* group = new wxStaticBox(this, g.id, g.title, DuPoint(10, g.y), DuSize(284, g.height));
        if (g.background.IsOk()) group->SetBackgroundColour(g.background);
    }
    for (const BoxPlace& b : kBoxes) {
        const char* name = "";
        for (const auto& program : CAutoConfigDlgModel::Programs()) {
            if (program.box == b.id) name = program.name;
        }
        auto* picture = new CAnimatedGifStatic(this, wxID_ANY);
        picture->LoadFromResource(b.picture);
        picture->Draw();
        auto* box = new wxCheckBox(this, b.id, name);
        PlaceRow(DuX(b.x) - picture->GetSize().x - kPictureGap, DuY(b.y) + 10, {picture, box}, kPictureGap);
        m_Pictures[b.id] = picture;
        m_Boxes[b.id] = box;
        box->Bind(wxEVT_CHECKBOX, [this, id = b.id](wxCommandEvent&) {
            m_pModel->OnBoxClicked(id, m_Boxes[id]->GetValue());
        });
    }
    m_Boxes[IDC_AUTO_MIRC]->Hide();
    m_Pictures[IDC_AUTO_MIRC]->Hide();

    struct ButtonPlace {
        int id;
        int x;
        int normal, pushed, disabled;
        bool hidden;
    };
    // Ok, Apply and Cancel end at the right side, Backup and Restore (hidden)
    // start at the left, each at its face's width.
    const ButtonPlace buttons[] = {{IDC_AUTO_BACKUP, 0, 511, 490, -1, true},
                                   {IDC_AUTO_RESTORE, 1, 514, 498, 485, true},
                                   {IDC_AUTO_OK, 2, 487, 488, -1, false},
                                   {IDC_AUTO_APPLY, 3, 537, 539, 538, false},
                                   {IDC_AUTO_CANCEL, 4, 466, 467, -1, false}};
    std::vector<CGifButton*> made;
    for (const ButtonPlace& b : buttons) {
        auto* button = new CGifButton(this, b.id);
        button->SetImages(b.normal, b.pushed, b.disabled);
        if (b.hidden) button->Hide();
        if (b.id == IDC_AUTO_RESTORE) m_pRestore = button;
        made.push_back(button);
    }
    const int row = DuY(236) + 12;
    PlaceRow(DuX(20), row, {made[0], made[1]}, 8);
    const int okWidth = made[2]->GetSize().x + made[3]->GetSize().x + made[4]->GetSize().x + 16;
    PlaceRow(GetClientSize().x - DuX(10) - okWidth, row, {made[2], made[3], made[4]}, 8);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, IDC_AUTO_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnApply(); }, IDC_AUTO_APPLY);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, IDC_AUTO_CANCEL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_pModel->Backup();
        ShowState();
    }, IDC_AUTO_BACKUP);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_pModel->Restore(); }, IDC_AUTO_RESTORE);

    AddTips(CAutoConfigDlgModel::Tips());
    m_pModel->Init();
    ShowState();
    return true;
}

void CAutoConfigDlg::ShowState() {
    for (auto& [id, box] : m_Boxes) {
        box->SetValue(m_pModel->GetBox(id).checked);
        box->Enable(m_pModel->GetBox(id).enabled);
    }
    m_pRestore->Enable(m_pModel->IsRestoreEnabled());
}

void CAutoConfigDlg::OnPaint() {
    wxAutoBufferedPaintDC dc(this);
    dc.GradientFillLinear(GetClientRect(), *wxWHITE, wxColour(214, 230, 255), wxSOUTH);
}

void CAutoConfigDlg::OnApply() { m_pModel->Apply(); }

void CAutoConfigDlg::OnOk() {
    m_pModel->Ok();
    EndPopup(0);
}

void CAutoConfigDlg::OnCancel() { EndPopup(wxID_CANCEL); }
