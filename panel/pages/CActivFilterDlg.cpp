#include "panel/pages/CActivFilterDlg.h"

#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "panel/controls/CAnimatedGifStatic.h"
#include "panel/controls/CToolTipCtrlEx.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/ActivityPageIds.h"
#include "panel/pages/CTextCtrlSink.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"
#include "relay/CBaseServer.h"
#include "relay/EngineMessages.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ACTIV_FILTER, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CActivFilterDlg>(&host));
});
}  // namespace

CActivFilterDlg::~CActivFilterDlg() {
    if (m_pModel) m_pModel->Destroy();
}

bool CActivFilterDlg::OnInitDialog() {
    SetSize(DuSize(265, 190));
    new wxStaticBox(this, wxID_ANY, "Filter Activity", DuPoint(2, 2), DuSize(261, 186));
    new wxStaticText(this, IDC_ACTIVITY_TEXT,
                     "This log lists all the experienced blocking activity. This includes scripts, "
                     "images, popups ... etc.:",
                     DuPoint(8, 14), DuSize(250, 18));
    m_pText = new wxTextCtrl(this, IDC_FILTER_TEXT, {}, DuPoint(8, 34), DuSize(250, 130),
                             wxTE_MULTILINE | wxTE_READONLY);
    m_pText->SetBackgroundColour(*wxWHITE);
    auto* clear = new CAnimatedGifStatic(this, IDC_CLEAR_VIEW, DuPoint(200, 168));
    clear->LoadFromResource(IDR_CLEAR_VIEW);
    clear->Draw();
    clear->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OnClear(); });

    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    m_pTip->AddTool(m_pText, PageString(1012));
    m_pTip->AddTool(clear, PageString(1013));

    m_pModel = std::make_unique<CActivFilterModel>(CBaseServer::m_FiltrationLog, m_Window.hwnd());
    m_pModel->Init();
    return true;
}

void CActivFilterDlg::OnClear() { m_pModel->OnClear(); }

void CActivFilterDlg::OnNotice(platform::UINT message, platform::WPARAM) {
    if (!m_pModel || message != WM_RELAY_FILTERLOG_CHANGED) return;
    CTextCtrlSink sink(*m_pText);
    m_pModel->OnChanged(sink);
}
