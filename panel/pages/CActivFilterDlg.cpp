#include "panel/pages/CActivFilterDlg.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "panel/main/CPageMakers.h"
#include "panel/pages/CTextCtrlSink.h"
#include "panel/pages/PageText.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ACTIV_FILTER, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CActivFilterDlg>(&host));
});
}  // namespace

bool CActivFilterDlg::OnInitDialog() {
    BuildFrame("Filter Activity");
    new wxStaticText(this, IDC_ACTIVITY_TEXT,
                     "This log lists all the experienced blocking activity. This includes scripts, "
                     "images, popups ... etc.:",
                     DuPoint(8, 13), DuSize(250, 21));
    m_pText = new wxTextCtrl(this, IDC_FILTER_TEXT, {}, DuPoint(8, 36), DuSize(250, 128),
                             wxTE_MULTILINE | wxTE_READONLY);
    m_pText->SetBackgroundColour(*wxWHITE);
    AddClearPicture(m_pText, PageString(1012), PageString(1013));

    MakeModel(CBaseServer::m_FiltrationLog);
    m_pModel->Init();
    return true;
}

void CActivFilterDlg::OnNotice(platform::UINT message, platform::WPARAM) {
    if (!m_pModel || message != WM_RELAY_FILTERLOG_CHANGED) return;
    CTextCtrlSink sink(*m_pText);
    m_pModel->OnChanged(sink);
}
