#include "panel/privacy/CAdvancedDlg.h"

#include <algorithm>

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

// Left to right across the header strip.
struct Zone {
    int id;
    int index;
    unsigned tip;
};

// The header strip (1230) is 275 x 22 dialog units at the top.
constexpr int kStripHeight = 22;
constexpr Zone kZones[] = {{IDC_ZONE_PRIVACY, 0, 1087}, {IDC_ZONE_FILTRATION, 1, 1088}, {IDC_ZONE_CLEANING, 2, 1089}};
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
        auto* control = new CTransparentStatic(this, zone.id, {});
        m_Zones.push_back(control);
        const int id = zone.id;
        control->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { m_pSwitch->OnZone(id); });
        m_pTip->AddTool(control, PageString(zone.tip));
    }
    m_pFrame = new wxWindow(this, IDC_ADV_FRAME, DuPoint(0, kStripHeight), DuSize(275, 213 - kStripHeight));
    m_pFrame->Hide();
    Arrange();
    Bind(wxEVT_PAINT, &CAdvancedDlg::OnPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Arrange();
        event.Skip();
    });
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

// The zones share the strip's width; the frame and the sub-page take what
// the host gave this page, the sub-page inside the frame by its inset.
void CAdvancedDlg::Arrange() {
    const wxSize client = GetClientSize();
    const int strip = DuY(kStripHeight);
    for (std::size_t i = 0; i < m_Zones.size(); ++i) {
        const auto [x, width] = StripPart(static_cast<int>(i), static_cast<int>(m_Zones.size()), client.x);
        m_Zones[i]->SetSize(x, 0, width, strip);
    }
    m_pFrame->SetSize(0, strip, client.x, std::max(0, client.y - strip));
    if (m_pSubPage) PlaceSubPage();
}

void CAdvancedDlg::PlaceSubPage() {
    const wxRect frame = m_pFrame->GetRect();
    m_pSubPage->SetSize(frame.x + kSubPageInset, frame.y + kSubPageInset, std::max(0, frame.width - kSubPageInset),
                        std::max(0, frame.height - kSubPageInset));
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
