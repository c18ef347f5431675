#include "panel/filtration/CAddFltrSrvrDlg.h"

#include <wx/statbox.h>
#include <wx/textctrl.h>

#include "controls/CGifButton.h"
#include "controls/CToolTipCtrlEx.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/PageText.h"

bool CAddFltrSrvrDlg::Create(wxWindow* parent) {
    return CBaseModalDlg::Create(IDD_ADD_FLTR_SRVR, parent, "Add Server Name", DuSize(170, 70));
}

bool CAddFltrSrvrDlg::OnInitDialog() {
    new wxStaticBox(this, wxID_ANY, "Server Name :", DuPoint(4, 2), DuSize(160, 36));
    m_pEdit = new wxTextCtrl(this, IDC_SRVR_NAME, wxString::FromUTF8(m_ServerName), DuPoint(10, 16),
                             DuSize(148, 12));
    auto* ok = new CGifButton(this, IDC_SRVR_OK, DuPoint(110, 42));
    ok->SetImages(kFacesOk.normal, kFacesOk.pushed);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, IDC_SRVR_OK);
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    m_pTip->AddTool(m_pEdit, PageString(1076));
    m_pTip->AddTool(ok, PageString(1051));
    return true;
}

void CAddFltrSrvrDlg::OnOk() {
    m_ServerName = m_pEdit->GetValue().utf8_string();
    if (IsModal()) EndModal(wxID_OK);
    else Hide();
}

std::optional<std::string> CAddFltrSrvrDlg::Ask(CServerHost* host, wxWindow* parent, const std::string& sample) {
    CAddFltrSrvrDlg dialog(host);
    dialog.SetServerName(sample);
    if (!dialog.Create(parent) || dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetServerName();
}
