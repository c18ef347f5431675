#include "panel/cleaner/CAdvCleanerItemsDlg.h"

#include <wx/checkbox.h>
#include <wx/statbox.h>

#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/cleaner/CleanerPageIds.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"

using namespace cleanerpage;

namespace {

// Faces of the two buttons: normal, pushed, disabled.
constexpr int kSelectAllFaces[] = {515, 438, 486};
constexpr int kDeselectAllFaces[] = {513, 493, 483};

// Pixels: the page fits beside the cleaner's strip and above its three
// boxes; a row per item, a group's caption above its rows.
constexpr int kPageWidth = 276;
constexpr int kRow = 20;
constexpr int kCaption = 18;
constexpr int kGroupBottom = 6;
constexpr int kGroupGap = 4;

}  // namespace

CAdvCleanerItemsDlg::CAdvCleanerItemsDlg(CServerHost* host, const CleanerItemTable& table)
    : CBaseDlg(host), m_Table(table) {}

bool CAdvCleanerItemsDlg::OnInitDialog() {
    CServerHost* host = GetHost();
    if (!host) return false;
    m_pLink = std::make_unique<CHostPageLink>(*host);
    m_pModel = std::make_unique<CAdvCleanerItemsModel>(*m_pLink, m_Table);
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);

    // The hidden Telnet box takes no row.
    int y = 0;
    std::size_t item = 0;
    for (const CleanerGroup& group : m_Table.groups) {
        auto* frame = new wxStaticBox(this, wxID_ANY, group.caption, {4, y}, {kPageWidth - 8, 0});
        const int top = y;
        y += kCaption;
        for (int n = 0; n < group.count && item < m_Table.items.size(); ++n, ++item) {
            const CleanerItem& row = m_Table.items[item];
            auto* box = new wxCheckBox(this, row.control, row.caption);
            const int control = row.control;
            box->Bind(wxEVT_CHECKBOX, [this, control](wxCommandEvent&) { OnItemClicked(control); });
            m_pTip->AddTool(box, PageString(row.tipString));
            m_Boxes[control] = box;
            if (control == IDC_TELNET) {
                box->Hide();
                box->Disable();
                continue;
            }
            PlaceRow(16, y + kRow / 2, {box});
            y += kRow;
        }
        y += kGroupBottom;
        frame->SetSize(kPageWidth - 8, y - top);
        y += kGroupGap;
    }

    m_pSelectAll = new CGifButton(this, IDC_SELECT_ALL, {16, y});
    m_pSelectAll->SetImages(kSelectAllFaces[0], kSelectAllFaces[1], kSelectAllFaces[2]);
    m_pSelectAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSelectAll(); });
    m_pTip->AddTool(m_pSelectAll, PageString(m_Table.selectAllTip));
    m_pDeselectAll = new CGifButton(this, IDC_DESELECT_ALL, {16, y});
    m_pDeselectAll->SetImages(kDeselectAllFaces[0], kDeselectAllFaces[1], kDeselectAllFaces[2]);
    m_pDeselectAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeselectAll(); });
    SetSize(kPageWidth, y + m_pSelectAll->GetSize().y);

    m_pModel->Load();
    ShowModel();
    return true;
}

wxCheckBox* CAdvCleanerItemsDlg::Box(int control) const {
    const auto found = m_Boxes.find(control);
    return found == m_Boxes.end() ? nullptr : found->second;
}

std::vector<int> CAdvCleanerItemsDlg::ScreenValues() const {
    std::vector<int> values;
    for (const CleanerItem& row : m_Table.items) {
        const wxCheckBox* box = Box(row.control);
        values.push_back(box && box->GetValue() ? 1 : 0);
    }
    return values;
}

void CAdvCleanerItemsDlg::OnItemClicked(int control) {
    m_pModel->OnItemClicked(control, ScreenValues());
    ShowModel();
}

void CAdvCleanerItemsDlg::OnSelectAll() {
    m_pModel->SelectAll();
    ShowModel();
}

void CAdvCleanerItemsDlg::OnDeselectAll() {
    m_pModel->DeselectAll();
    ShowModel();
}

void CAdvCleanerItemsDlg::ShowModel() {
    const std::vector<int>& values = m_pModel->Values();
    for (std::size_t i = 0; i < m_Table.items.size(); ++i) {
        if (wxCheckBox* box = Box(m_Table.items[i].control)) box->SetValue(values[i] != 0);
    }
    const bool offersSelect = m_pModel->OffersSelectAll();
    m_pSelectAll->Show(offersSelect);
    m_pSelectAll->Enable(offersSelect);
    m_pDeselectAll->Show(!offersSelect);
    m_pDeselectAll->Enable(!offersSelect);
}
