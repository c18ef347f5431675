#include "panel/pages/CHelpDlg.h"

#include <wx/dcclient.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CColourLabel.h"
#include "controls/CTextPainter.h"
#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"

namespace {

constexpr int IDD_HELP = 323;
constexpr int IDC_VIEW_HELP = 1183;
constexpr int IDC_HELP_PICTURE = 1203;
constexpr int IDC_WARNING = 1198;
constexpr int IDC_LEGAL = 1185;
constexpr unsigned IDR_HELP_PICTURE = 372;
constexpr unsigned IDR_VIEW_HELP = 541;
constexpr unsigned IDR_VIEW_HELP_PUSHED = 540;
constexpr COLORREF kTextColour = 0xDD7B4E;
constexpr COLORREF kBackColour = 0xFFFEFD;

const CPageMakers::Registrar kMaker(IDD_HELP, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CHelpDlg>(&host));
});

}  // namespace

const char* CHelpDlg::LegalWarning() {
    return "This program is protected by copyright law and international treaties. Unauthorized "
           "reproduction or distribution of this program, or any portion of it, may result in "
           "severe civil and criminal penalties, and will be prosecuted to the maximum extent "
           "possible under the law.";
}

bool CHelpDlg::OnInitDialog() {
    // The picture, then the warning's title above its text, which has room
    // for all its lines at the toolkit's font, then the help button.
    SetSize(DuSize(264, 185));
    m_pPicture = new CAnimatedGifStatic(this, IDC_HELP_PICTURE, {12, 12});
    m_pWarning = new CColourLabel(this, IDC_WARNING, {}, {12, 92}, {120, 20});
    m_pLegal = new CColourLabel(this, IDC_LEGAL, {}, {12, 116}, {384, 96});
    m_pViewHelp = new CGifButton(this, IDC_VIEW_HELP, {316, 222});
    m_pViewHelp->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnViewHelp(); });
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    m_pTip->AddTool(m_pViewHelp, "Open Help file.");
    Bind(wxEVT_SHOW, [this](wxShowEvent& e) {
        e.Skip();
        if (e.IsShown()) OnShown();
    });
    OnShown();
    return true;
}

void CHelpDlg::OnShown() {
    m_pPicture->LoadFromResource(IDR_HELP_PICTURE);
    m_pPicture->Draw();
    m_pViewHelp->SetImages(static_cast<int>(IDR_VIEW_HELP), static_cast<int>(IDR_VIEW_HELP_PUSHED));
    m_pLegal->SetTextColor(kTextColour).SetBkColor(kBackColour).SetText(LegalWarning());
    m_pWarning->SetText("Warning: ").SetTextColor(kTextColour).SetBkColor(kBackColour).SetFontBold(true);
    // The warning gets the height its wrapped lines need, the button stays
    // under it.
    wxClientDC dc(m_pLegal);
    dc.SetFont(m_pLegal->LabelFont());
    const int width = m_pLegal->GetClientSize().x;
    const int lines = static_cast<int>(CTextPainter::Wrap(dc, wxString::FromUTF8(LegalWarning()), width).size());
    m_pLegal->SetSize(width, lines * dc.GetCharHeight() + 4);
    m_pViewHelp->Move(m_pViewHelp->GetPosition().x, m_pLegal->GetRect().GetBottom() + 10);
}

void CHelpDlg::OnViewHelp() {
    if (CServerHost* host = GetHost()) host->ShowHelp();
}
