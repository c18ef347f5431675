#include "panel/pages/CAnalyzerDlg.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "panel/controls/CAnimatedGifStatic.h"
#include "panel/controls/CSortList.h"
#include "panel/controls/CToolTipCtrlEx.h"
#include "panel/pages/CEngineWorker.h"
#include "panel/pages/CListCtrlSink.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/ProxyPageIds.h"
#include "relay/CAnalyzerThread.h"
#include "relay/CBaseServer.h"

CAnalyzerDlg::~CAnalyzerDlg() {
    if (m_pModel) m_pModel->Destroy();
}

bool CAnalyzerDlg::OnInitDialog() {
    SetSize(DuSize(275, 199));
    m_pList = new CSortList(this, IDC_PROXY_LIST, DuPoint(4, 4), DuSize(267, 110));
    m_pLog = new wxTextCtrl(this, IDC_ANALYZER_LOG, {}, DuPoint(4, 118), DuSize(267, 50),
                            wxTE_MULTILINE | wxTE_READONLY);
    m_pLog->SetBackgroundColour(*wxWHITE);
    new wxStaticText(this, wxID_ANY, "Time Out: ", DuPoint(4, 178), DuSize(40, 10));
    m_pTimeOut = new wxTextCtrl(this, IDC_ANALYZER_TIMEOUT, {}, DuPoint(46, 176), DuSize(40, 12));
    m_pTimeOut->SetBackgroundColour(*wxWHITE);
    m_pStart = new CAnimatedGifStatic(this, IDC_ANALYZER_START, DuPoint(212, 174));
    m_pStart->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OnStartStop(); });

    m_pModel = std::make_unique<CAnalyzerDlgModel>(
        CEngineWorker::Analyzer(), CBaseServer::mAnalyzerThread.GetConfig(), m_Window.hwnd());
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    wxWindow* const controls[] = {m_pList, m_pLog, m_pStart, m_pTimeOut};
    const auto tips = CAnalyzerDlgModel::Tips();
    for (std::size_t i = 0; i < tips.size(); ++i) m_pTip->AddTool(controls[i], tips[i].text);

    m_pModel->Init();
    CListCtrlSink sink(*m_pList);
    CBaseServer::m_ProxyPool.InsertColumns(sink, true);
    ShowState();
    m_pList->SetupHeader();
    m_pTimeOut->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        m_pModel->OnTimeOutChanged(m_pTimeOut->GetValue().utf8_string());
    });
    return true;
}

void CAnalyzerDlg::ShowState() {
    const auto& state = m_pModel->GetState();
    m_pTimeOut->ChangeValue(wxString::FromUTF8(state.timeOut));
    m_pLog->ChangeValue(wxString::FromUTF8(state.log));
    if (state.image != m_ShownImage) {
        m_ShownImage = state.image;
        m_pStart->LoadFromResource(state.image);
        m_pStart->Draw();
    }
}

void CAnalyzerDlg::OnStartStop() {
    m_pModel->OnStartStop();
    ShowState();
}

void CAnalyzerDlg::OnNotice(platform::UINT message, platform::WPARAM) {
    if (!m_pModel) return;
    if (message == WM_RELAY_PROXYCONFIG_END) {
        m_pModel->OnEnd();
    } else if (message == WM_RELAY_PROXYCONFIG_LOG) {
        m_pModel->OnLog();
    } else if (message == WM_RELAY_PROXYCONFIG_FOUND) {
        CListCtrlSink sink(*m_pList);
        m_pModel->OnFound(sink);
    } else {
        return;
    }
    ShowState();
}
