#include "panel/privacy/CAdvancedDlg.h"

#include <wx/dcclient.h>

#include "controls/CToolTipCtrlEx.h"
#include "controls/CTransparentStatic.h"
#include "panel/automation/KavelinA.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"
#include "panel/privacy/AdvancedPageIds.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ADVANCED, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvancedDlg>(&host));
});

struct Zone {
    int id;
    int x;
    unsigned tip;
};

// The header strip (1230) is 275 x 22 dialog units at the top.
constexpr int kStripHeight = 22;
constexpr int kZoneWidth = 91;
constexpr Zone kZones[] = {{IDC_ZONE_PRIVACY, 0, 1087}, {IDC_ZONE_FILTRATION, 92, 1088}, {IDC_ZONE_CLEANING, 184, 1089}};
// Sub-pages sit this far inside the frame's top left corner.
constexpr int kSubPageInset = 5;
}  // namespace

CAdvancedDlg::~CAdvancedDlg() {
    if (m_pSwitch) m_pSwitch->Close();
}

bool CAdvancedDlg::Destroy() {
    if (m_pSwitch) m_pSwitch->Close();
    return CBaseDlg::Destroy();
}

bool CAdvancedDlg::OnInitDialog() {
    SetSize(DuSize(275, 213));
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const Zone& zone : kZones) {
        auto* control = new CTransparentStatic(this, zone.id, {}, DuPoint(zone.x, 0), DuSize(kZoneWidth, kStripHeight));
        const int id = zone.id;
        control->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { m_pSwitch->OnZone(id); });
        m_pTip->AddTool(control, PageString(zone.tip));
    }
    m_pFrame = new wxWindow(this, IDC_ADV_FRAME, DuPoint(0, kStripHeight), DuSize(275, 213 - kStripHeight));
    m_pFrame->Hide();
    Bind(wxEVT_PAINT, &CAdvancedDlg::OnPaint, this);
    m_pSwitch = std::make_unique<CSubPageSwitch>(
        *this, std::vector<CSubPageSwitch::Kind>{{IDC_ZONE_PRIVACY, IDD_ADV_PRIVACY, IDR_HEADER_PRIVACY},
                                                 {IDC_ZONE_FILTRATION, IDD_ADV_FILTRATION, IDR_HEADER_FILTRATION},
                                                 {IDC_ZONE_CLEANING, IDD_ADV_CLEANING, IDR_HEADER_CLEANING}});
    m_pSwitch->Close();
    m_pSwitch->Show(IDD_ADV_PRIVACY);
    return true;
}

std::unique_ptr<CBaseDlg> CAdvancedDlg::MakeSubPage(int code) {
    CServerHost* host = GetHost();
    if (!host) return nullptr;
    if (code != IDD_ADV_PRIVACY) return CPageMakers::Make(code, *host);
    KavelinA factory(*host);
    if (factory.getAdvPrivDlg() < 0) return nullptr;
    return host->TakeMadePage();
}

void CAdvancedDlg::CloseSubPage() {
    if (!m_pSubPage) return;
    m_pSubPage->Destroy();
    m_pSubPage = nullptr;
    CBaseDlg::Refresh(true);
}

void CAdvancedDlg::ShowHeader(unsigned image) {
    m_HeaderImage = m_Header.LoadFromResource("GIF", image) ? image : 0;
}

bool CAdvancedDlg::CreateSubPage(int code) {
    std::unique_ptr<CBaseDlg> page = MakeSubPage(code);
    if (!page || !page->Create(code, this)) return false;
    m_pSubPage = page.release();  // the window owns itself now
    return true;
}

void CAdvancedDlg::PlaceSubPage() {
    const wxRect frame = m_pFrame->GetRect();
    const wxSize client = m_pFrame->GetClientSize();
    m_pSubPage->SetSize(frame.x + kSubPageInset, frame.y + kSubPageInset, client.x, client.y);
    m_pSubPage->Show();
    m_pSubPage->Enable();
    m_pSubPage->Refresh();
}

void CAdvancedDlg::Repaint() {
    CBaseDlg::Refresh(true);
    if (wxWindow* parent = GetParent()) {
        parent->Refresh(true);
        parent->Update();
    }
    Update();
}

void CAdvancedDlg::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    m_Header.Render(dc, 0, 0);
}
