#include "panel/cleaner/CAdvCleanerDlg.h"

#include <algorithm>

#include <wx/checkbox.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "controls/CTransparentStatic.h"
#include "panel/automation/KavelinA.h"
#include "panel/cleaner/CAdvCleanerItemsDlg.h"
#include "panel/cleaner/CCleanerActions.h"
#include "panel/cleaner/CleanerPageIds.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"

using namespace cleanerpage;

namespace {

const CPageMakers::Registrar kMaker(IDD_ADV_CLEANER, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvCleanerDlg>(&host));
});

constexpr int kCleanNowFace = 504;
constexpr int kCleanNowPushed = 492;
// Pixels: the strip down the left, its two halves the zones, Clean Now
// under it; the sub-pages to its right; the three boxes under them, one a
// row.
constexpr int kStripWidth = 120;
constexpr int kSubPageLeft = 126;
constexpr int kBoxRow = 20;
constexpr int kUnderStrip = 34;

}  // namespace

CAdvCleanerDlg::CAdvCleanerDlg(CServerHost* host) : CBaseDlg(host) {}

CAdvCleanerDlg::~CAdvCleanerDlg() {
    if (m_pModel && m_pBrowserExit) {
        m_pModel->Store(m_pBrowserExit->GetValue(), m_pProgramExit->GetValue(), m_pWindowsStart->GetValue());
    }
    if (m_pSwitch) m_pSwitch->Close();
}

bool CAdvCleanerDlg::OnInitDialog() {
    CServerHost* host = GetHost();
    if (!host) return false;
    m_pLink = std::make_unique<CHostPageLink>(*host);
    m_pModel = std::make_unique<CAdvCleanerModel>(*m_pLink);
    SetSize(DuSize(275, 213));
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);

    m_pStrip = new CAnimatedGifStatic(this, IDC_CLEANER_STRIP, {0, 0});
    auto* upper = new CTransparentStatic(this, IDC_ZONE_SYSTEM, {});
    auto* lower = new CTransparentStatic(this, IDC_ZONE_BROWSER, {});
    m_pZones = {upper, lower};
    upper->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_pSwitch->OnZone(IDC_ZONE_SYSTEM); });
    lower->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_pSwitch->OnZone(IDC_ZONE_BROWSER); });
    m_pTip->AddTool(upper, PageString(1183));
    m_pTip->AddTool(lower, PageString(1182));

    m_pBrowserExit = new wxCheckBox(this, IDC_BROWSER_EXIT, "Auto clean on browser exit");
    m_pProgramExit = new wxCheckBox(this, IDC_PROGRAM_EXIT, "Auto clean on program exit");
    m_pWindowsStart = new wxCheckBox(this, IDC_WINDOWS_START, "Auto clean on windows start");
    m_pCleanNow = new CGifButton(this, IDC_CLEAN_NOW);
    m_pCleanNow->SetImages(kCleanNowFace, kCleanNowPushed);
    Arrange();
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Arrange();
        event.Skip();
    });
    m_pBrowserExit->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnBrowserExit(); });
    m_pProgramExit->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnProgramExit(); });
    m_pWindowsStart->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnWindowsStart(); });
    m_pCleanNow->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCleanNow(); });
    m_pTip->AddTool(m_pBrowserExit,
                    "If Checked, clean-up settings will take effect when all the browsers instances are "
                    "closed (IE, Netscape or Opera)");
    m_pTip->AddTool(m_pProgramExit, PageString(1020));
    m_pTip->AddTool(m_pWindowsStart, PageString(1021));
    m_pTip->AddTool(m_pCleanNow, PageString(1022));

    m_pModel->Load();
    m_pBrowserExit->SetValue(m_pModel->BrowserExit());
    m_pProgramExit->SetValue(m_pModel->ProgramExit());
    m_pWindowsStart->SetValue(m_pModel->WindowsStart());

    m_pSwitch = std::make_unique<CSubPageSwitch>(
        *this, std::vector<CSubPageSwitch::Kind>{
                   {IDC_ZONE_SYSTEM, IDD_ADV_CLEANER_SYSTEM, IDR_STRIP_SYSTEM},
                   {IDC_ZONE_BROWSER, IDD_ADV_CLEANER_IEXPLORER, IDR_STRIP_BROWSER}});
    m_pSwitch->Show(IDD_ADV_CLEANER_SYSTEM);
    return true;
}

// By the size the Advanced tab gave the page: the zones halve the strip's
// height, the three boxes and Clean Now keep to the bottom.
void CAdvCleanerDlg::Arrange() {
    const wxSize client = GetClientSize();
    const int strip = std::max(0, client.y - kUnderStrip);
    m_pZones[0]->SetSize(0, 0, kStripWidth, strip / 2);
    m_pZones[1]->SetSize(0, strip / 2, kStripWidth, strip - strip / 2);
    int y = client.y - 3 * kBoxRow - 2;
    for (wxCheckBox* box : {m_pBrowserExit, m_pProgramExit, m_pWindowsStart}) {
        PlaceRow(kSubPageLeft, y + kBoxRow / 2, {box});
        y += kBoxRow;
    }
    m_pCleanNow->Move((kStripWidth - m_pCleanNow->GetSize().x) / 2, client.y - m_pCleanNow->GetSize().y - 5);
}

CAdvCleanerItemsDlg* CAdvCleanerDlg::SubPage() const { return dynamic_cast<CAdvCleanerItemsDlg*>(m_pSubPage); }

void CAdvCleanerDlg::OnBrowserExit() {
    CCleanerActions actions(CCleanerActions::NotifyWindowOf(GetHost()));
    m_pModel->OnBrowserExit(m_pBrowserExit->GetValue(), actions);
}

void CAdvCleanerDlg::OnWindowsStart() {
    CCleanerActions actions(CCleanerActions::NotifyWindowOf(GetHost()));
    m_pModel->OnWindowsStart(m_pWindowsStart->GetValue(), actions);
}

void CAdvCleanerDlg::OnProgramExit() {
    m_pModel->OnProgramExit(m_pProgramExit->GetValue());
}

void CAdvCleanerDlg::OnCleanNow() {
    CAdvCleanerItemsDlg* page = SubPage();
    const std::vector<int> boxes = page ? page->ScreenValues() : std::vector<int>{};
    m_pModel->CleanNow(Shown() == IDD_ADV_CLEANER_SYSTEM, page ? &boxes : nullptr);
}

void CAdvCleanerDlg::CloseSubPage() {
    if (!m_pSubPage) return;
    m_pSubPage->Hide();
    m_pSubPage->Disable();
    m_pSubPage->Destroy();
    m_pSubPage = nullptr;
    Refresh(true);
}

void CAdvCleanerDlg::ShowHeader(unsigned image) {
    m_pStrip->LoadFromResource(image);
    m_pStrip->Draw();
}

bool CAdvCleanerDlg::CreateSubPage(int code) {
    CServerHost* host = GetHost();
    if (!host) return false;
    KavelinA factory(*host);
    if (code == IDD_ADV_CLEANER_SYSTEM) factory.getAdvCleanerSystemDlg();
    else factory.getAdvCleanerIexplorerDlg();
    std::unique_ptr<CBaseDlg> page = host->TakeMadePage();
    if (!page || !page->Create(code, this)) return false;
    m_pSubPage = page.release();  // the window owns itself now
    m_pSubPage->Move(kSubPageLeft, 0);
    return true;
}

void CAdvCleanerDlg::PlaceSubPage() {
    m_pSubPage->Show();
    m_pSubPage->Enable();
    m_pSubPage->Refresh(true);
}

void CAdvCleanerDlg::Repaint() { Refresh(true); }
