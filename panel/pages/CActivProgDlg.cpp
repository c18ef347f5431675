#include "panel/pages/CActivProgDlg.h"

#include <wx/stattext.h>

#include "controls/CSortList.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/CListCtrlSink.h"
#include "panel/pages/PageText.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ACTIV_PROG, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CActivProgDlg>(&host));
});
}  // namespace

bool CActivProgDlg::OnInitDialog() {
    BuildFrame("Program Activity");
    new wxStaticText(this, wxID_ANY,
                     "Here, all program activities are kept. Any program's attempt to access the "
                     "Internet is present in this list:",
                     DuPoint(8, 13), DuSize(250, 21));
    m_pList = new CSortList(this, IDC_PROG_LIST, DuPoint(8, 36), DuSize(250, 128));
    AddClearPicture(m_pList, PageString(1014), PageString(1015));

    MakeModel(CBaseServer::m_ProgLog);
    CListCtrlSink sink(*m_pList);
    const char* headings[] = {"Request No.", "Program", "Destination IP"};
    for (int i = 0; i < 3; ++i) sink.InsertColumn(i, headings[i], 120);
    m_pModel->Init();
    m_pList->SetupHeader();
    return true;
}

void CActivProgDlg::OnNotice(platform::UINT message, platform::WPARAM wParam) {
    if (!m_pModel) return;
    if (message == WM_RELAY_PROGLOG_RESET) {
        m_pList->DeleteAllItems();
    } else if (message == WM_RELAY_PROGLOG_ITEM) {
        CListCtrlSink sink(*m_pList);
        m_pModel->OnItem(sink, wParam);
    }
}
