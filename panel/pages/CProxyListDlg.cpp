#include "panel/pages/CProxyListDlg.h"

#include "controls/CGifButton.h"
#include "controls/CSortList.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/pages/CEnginePoolOps.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"
#include "relay/engine/CBaseServer.h"

CProxyListDlg::~CProxyListDlg() {
    if (m_pList) m_pList->DeleteAllItems();
}

bool CProxyListDlg::OnInitDialog() {
    SetSize(DuSize(275, 199));
    m_pList = new CSortList(this, IDC_PROXY_LIST, DuPoint(4, 4), DuSize(267, 165));
    auto* remove = new CGifButton(this, IDC_DELETE_PROXY, DuPoint(150, 175));
    remove->SetImages(IDR_DELETE_PROXY, IDR_DELETE_PROXY_PUSHED, IDR_DELETE_PROXY_DISABLED);
    remove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeleteProxy(); });
    remove->Enable();
    auto* removeAll = new CGifButton(this, IDC_REMOVE_ALL, DuPoint(212, 175));
    removeAll->SetImages(IDR_REMOVE_ALL, IDR_REMOVE_ALL_PUSHED, IDR_REMOVE_ALL_DISABLED);
    removeAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemoveAll(); });

    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    m_pTip->AddTool(m_pList, PageString(1120));
    m_pTip->AddTool(remove, PageString(1121));

    m_pRows = std::make_unique<CListCtrlSink>(*m_pList);
    m_pModel = std::make_unique<CProxyListDlgModel>(*m_pRows, CEnginePoolOps::Instance());
    m_pList->SetUseRowImages(true);
    CBaseServer::m_ProxyPool.Write(*m_pRows, true, true);
    m_pList->SetupHeader();
    return true;
}

void CProxyListDlg::OnDeleteProxy() { m_pModel->OnDeleteProxy(); }
void CProxyListDlg::OnRemoveAll() { m_pModel->OnRemoveAll(); }
