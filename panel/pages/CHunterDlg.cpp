#include "panel/pages/CHunterDlg.h"

#include "controls/CGifButton.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/CEnginePoolOps.h"
#include "panel/pages/CEngineWorker.h"
#include "panel/pages/CProxyAnalyzerAdvancedSettings.h"
#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CHunterThread.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_HUNTER, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CHunterDlg>(&host));
});
}  // namespace

bool CHunterDlg::OnInitDialog() {
    BuildListAndLog(IDC_HUNTER_LIST, IDC_HUNTER_LOG);
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

    MakeModel(CHunterDlgModel::Engine{CEngineWorker::Hunter(), CBaseServer::m_HunterThread.getProxyConfig(),
                                      CEnginePoolOps::Instance(), {}, {}});
    AddTips({m_pList, m_pStart, m_pSettings, m_pDelete, m_pLog});

    CListCtrlSink sink(*m_pList);
    CBaseServer::m_ProxyPool.InsertColumns(sink, false);
    m_pModel->Init();
    m_pList->SetupHeader();
    ShowState();
    return true;
}

void CHunterDlg::ShowState() {
    const auto& state = m_pModel->GetState();
    m_pLog->ChangeValue(wxString::FromUTF8(EditLineBreaks(state.log)));
    m_pStart->SetImages(static_cast<int>(state.startImage), static_cast<int>(state.startPushedImage),
                        state.startDisabledImage ? static_cast<int>(state.startDisabledImage) : -1);
    m_pStart->Enable();
    m_pStart->Refresh();
    m_pDelete->Enable(state.toolsEnabled);
    m_pSettings->Enable(state.toolsEnabled);
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
