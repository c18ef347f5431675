#include "panel/pages/CHunterDlg.h"

#include <wx/textctrl.h>

#include "panel/controls/CGifButton.h"
#include "panel/controls/CSortList.h"
#include "panel/controls/CToolTipCtrlEx.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/CEnginePoolOps.h"
#include "panel/pages/CEngineWorker.h"
#include "panel/pages/CListCtrlSink.h"
#include "panel/pages/CProxyAnalyzerAdvancedSettings.h"
#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/ProxyPageIds.h"
#include "relay/CBaseServer.h"
#include "relay/CHunterThread.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_HUNTER, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CHunterDlg>(&host));
});
}  // namespace

CHunterDlg::~CHunterDlg() {
    if (m_pModel) m_pModel->Destroy();
}

bool CHunterDlg::OnInitDialog() {
    SetSize(DuSize(275, 199));
    m_pList = new CSortList(this, IDC_HUNTER_LIST, DuPoint(4, 4), DuSize(267, 110));
    m_pLog = new wxTextCtrl(this, IDC_HUNTER_LOG, {}, DuPoint(4, 118), DuSize(267, 50),
                            wxTE_MULTILINE | wxTE_READONLY);
    m_pLog->SetBackgroundColour(*wxWHITE);
    m_pList->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        e.Skip();
        if (m_pList->GetItemCount() > 0) m_pList->RefreshItems(0, m_pList->GetItemCount() - 1);
    });
    m_pDelete = new CGifButton(this, IDC_HUNTER_DELETE, DuPoint(90, 175));
    m_pDelete->SetImages(IDR_DELETE_PROXY, IDR_DELETE_PROXY_PUSHED, IDR_DELETE_PROXY_DISABLED);
    m_pDelete->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeleteProxy(); });
    m_pStart = new CGifButton(this, IDC_HUNTER_START, DuPoint(150, 175));
    m_pStart->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStartStop(); });
    m_pSettings = new CGifButton(this, IDC_HUNTER_SETTINGS, DuPoint(212, 175));
    m_pSettings->SetImages(IDR_HUNTER_SETTINGS, IDR_HUNTER_SETTINGS_PUSHED, IDR_HUNTER_SETTINGS_DISABLED);
    m_pSettings->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSettings(); });

    m_pModel = std::make_unique<CHunterDlgModel>(
        CHunterDlgModel::Engine{CEngineWorker::Hunter(), CBaseServer::m_HunterThread.getProxyConfig(),
                                CEnginePoolOps::Instance(), {}, {}},
        m_Window.hwnd());
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    wxWindow* const controls[] = {m_pList, m_pStart, m_pSettings, m_pDelete, m_pLog};
    const auto tips = CHunterDlgModel::Tips();
    for (std::size_t i = 0; i < tips.size(); ++i) m_pTip->AddTool(controls[i], tips[i].text);

    CListCtrlSink sink(*m_pList);
    CBaseServer::m_ProxyPool.InsertColumns(sink, false);
    m_pModel->Init();
    m_pList->SetupHeader();
    ShowState();
    return true;
}

void CHunterDlg::ShowState() {
    const auto& state = m_pModel->GetState();
    m_pLog->ChangeValue(wxString::FromUTF8(state.log));
    m_pStart->SetImages(static_cast<int>(state.startImage), static_cast<int>(state.startPushedImage),
                        state.startDisabledImage ? static_cast<int>(state.startDisabledImage) : -1);
    m_pStart->Enable();
    m_pStart->Refresh();
    m_pDelete->Enable(state.toolsEnabled);
    m_pSettings->Enable(state.toolsEnabled);
}

void CHunterDlg::OnStartStop() {
    m_pModel->OnStartStop();
    ShowState();
}

void CHunterDlg::OnDeleteProxy() {
    CListCtrlSink rows(*m_pList);
    m_pModel->OnDeleteProxy(rows);
}

void CHunterDlg::OnSettings() {
    CServerHost* host = GetHost();
    if (!host) return;
    CProxyAnalyzerAdvancedSettings dialog(host);
    if (dialog.Create(IDD_HUNTER_SETTINGS, this, {}, wxDefaultSize, wxBORDER_NONE)) dialog.ShowModal();
}

void CHunterDlg::OnNotice(platform::UINT message, platform::WPARAM) {
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
