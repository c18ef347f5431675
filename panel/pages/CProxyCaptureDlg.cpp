#include "panel/pages/CProxyCaptureDlg.h"

#include <wx/listctrl.h>
#include <wx/statbox.h>

#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/ProxyPageIds.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_CAPTURE, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CProxyCaptureDlg>(&host));
});
}  // namespace

bool CProxyCaptureDlg::OnInitDialog() {
    SetSize(DuSize(275, 199));
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    new wxStaticBox(this, wxID_ANY, "Captured Programs", DuPoint(2, 2), DuSize(271, 170));
    m_pList = new wxListCtrl(this, IDC_CAPTURE_LIST, DuPoint(8, 14), DuSize(259, 152), wxLC_REPORT);
    m_pList->InsertColumn(0, "Program Name", wxLIST_FORMAT_LEFT, 110);
    m_pList->InsertColumn(1, "Protocol Type", wxLIST_FORMAT_LEFT, 85);
    m_pList->DeleteAllItems();
    auto* add = new CGifButton(this, IDC_CAPTURE_ADD, DuPoint(150, 176));
    add->SetImages(IDR_CAPTURE_ADD, IDR_CAPTURE_ADD_PUSHED);
    auto* remove = new CGifButton(this, IDC_CAPTURE_REMOVE, DuPoint(212, 176));
    remove->SetImages(IDR_DELETE_PROXY, IDR_DELETE_PROXY_PUSHED);
    return true;
}
