#include "panel/pages/CAnalyzerDlg.h"

#include <wx/stattext.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CEditFilter.h"
#include "panel/pages/CEngineWorker.h"
#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/engine/CBaseServer.h"

bool CAnalyzerDlg::OnInitDialog() {
    BuildListAndLog(IDC_PROXY_LIST, IDC_ANALYZER_LOG);
    auto* label = new wxStaticText(this, wxID_ANY, "Time Out: ");
    m_pTimeOut = new wxTextCtrl(this, IDC_ANALYZER_TIMEOUT, {}, wxDefaultPosition, {60, 24});
    PlaceRow(DuX(4), DuY(176) + 10, {label, m_pTimeOut});
    CEditFilter::DigitsOnly(*m_pTimeOut);
    m_pTimeOut->SetBackgroundColour(*wxWHITE);
    m_pStart = new CAnimatedGifStatic(this, IDC_ANALYZER_START, DuPoint(212, 174));
    m_pStart->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OnStartStop(); });

    MakeModel(CEngineWorker::Analyzer(), CBaseServer::mAnalyzerThread.GetConfig());
    AddTips({m_pList, m_pLog, m_pStart, m_pTimeOut});

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
    m_pLog->ChangeValue(wxString::FromUTF8(EditLineBreaks(state.log)));
    if (state.image != m_ShownImage) {
        m_ShownImage = state.image;
        m_pStart->LoadFromResource(state.image);
        m_pStart->Draw();
    }
}
