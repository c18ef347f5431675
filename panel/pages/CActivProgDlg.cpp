#include "panel/pages/CActivProgDlg.h"

#include <wx/listctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "panel/controls/CAnimatedGifStatic.h"
#include "panel/controls/CToolTipCtrlEx.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/ActivityPageIds.h"
#include "panel/pages/CListCtrlSink.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"
#include "relay/CBaseServer.h"
#include "relay/EngineMessages.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ACTIV_PROG, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CActivProgDlg>(&host));
});
}  // namespace

CActivProgDlg::~CActivProgDlg() {
    if (m_pModel) m_pModel->Destroy();
}

bool CActivProgDlg::OnInitDialog() {
    SetSize(DuSize(265, 190));
    new wxStaticBox(this, wxID_ANY, "Program Activity", DuPoint(2, 2), DuSize(261, 186));
    new wxStaticText(this, wxID_ANY,
                     "Here, all program activities are kept. Any program's attempt to access the "
                     "Internet is present in this list:",
                     DuPoint(8, 14), DuSize(250, 18));
    m_pList = new wxListCtrl(this, IDC_PROG_LIST, DuPoint(8, 34), DuSize(250, 130), wxLC_REPORT);
    auto* clear = new CAnimatedGifStatic(this, IDC_CLEAR_VIEW, DuPoint(200, 168));
    clear->LoadFromResource(IDR_CLEAR_VIEW);
    clear->Draw();
    clear->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OnClear(); });

    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    m_pTip->AddTool(m_pList, PageString(1014));
    m_pTip->AddTool(clear, PageString(1015));

    m_pModel = std::make_unique<CActivProgModel>(CBaseServer::m_ProgLog, m_Window.hwnd());
    CListCtrlSink sink(*m_pList);
    const char* headings[] = {"Request No.", "Program", "Destination IP"};
    for (int i = 0; i < 3; ++i) sink.InsertColumn(i, headings[i], 120);
    m_pModel->Init();
    return true;
}

void CActivProgDlg::OnClear() { m_pModel->OnClear(); }

void CActivProgDlg::OnNotice(platform::UINT message, platform::WPARAM wParam) {
    if (!m_pModel) return;
    if (message == WM_RELAY_PROGLOG_RESET) {
        m_pList->DeleteAllItems();
    } else if (message == WM_RELAY_PROGLOG_ITEM) {
        CListCtrlSink sink(*m_pList);
        m_pModel->OnItem(sink, wParam);
    }
}
