#include "panel/pages/CActivChainDlg.h"

#include <wx/treectrl.h>

#include "controls/CTransparentStatic.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageText.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ACTIV_CHAIN, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CActivChainDlg>(&host));
});
}  // namespace

bool CActivChainDlg::OnInitDialog() {
    BuildFrame("Chain Activity");
    new CTransparentStatic(this, IDC_CHAIN_FRAME, {}, DuPoint(6, 10), DuSize(253, 174));
    new CTransparentStatic(this, IDC_ACTIVITY_TEXT,
                           "This is a listing for all the proxies used while running the program:",
                           DuPoint(8, 13), DuSize(250, 21));
    m_pTree = new wxTreeCtrl(this, IDC_CHAIN_TREE, DuPoint(8, 36), DuSize(250, 128),
                             wxTR_DEFAULT_STYLE | wxTR_HIDE_ROOT);
    m_pTree->SetBackgroundColour(*wxWHITE);
    m_pSink = std::make_unique<CTreeCtrlSink>(*m_pTree);
    AddClearPicture(m_pTree, PageString(1010), PageString(1011));
    // The chain page's colours: every control on white, the page itself
    // showing what lies behind it; the frame and the text paint nothing but
    // their text by their kind.
    for (wxWindow* child : GetChildren()) {
        if (!dynamic_cast<CTransparentStatic*>(child)) child->SetBackgroundColour(*wxWHITE);
    }

    MakeModel(CBaseServer::m_ChainLog);
    m_pModel->Init();
    return true;
}

void CActivChainDlg::OnNotice(platform::UINT message, platform::WPARAM wParam) {
    if (!m_pModel) return;
    if (message == WM_RELAY_CHAINLOG_RESET) {
        m_pSink->DeleteAllItems();
    } else if (message == WM_RELAY_CHAINLOG_ITEM) {
        m_pModel->OnItem(*m_pSink, wParam);
    }
}
