#include "wizard/CWizStopListDlg.h"

#include <wx/statbox.h>

#include "wizard/CWizAddServerDlg.h"
#include "wizard/CWizFinishDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {

using namespace stoplist;

CWizStopListDlg::CWizStopListDlg(CWizardSession& session)
    : CWizPage(session, dlg::kStopList, {kBanner, kBack, kNext, kCancel}),
      mStopBox(new wxCheckBox(this, kStopBox, "Server Stop List.", wxPoint(40, kBodyTop + 22))),
      mServers(this, {kList, kAdd, kEdit, kRemove}, wxPoint(40, kBodyTop + 48), wxSize(340, 160)) {
    new wxStaticBox(this, kStopGroup, "Server Stop List", wxPoint(24, kBodyTop), wxSize(500, 250));
    Bind(wxEVT_CHECKBOX, &CWizStopListDlg::OnStopBox, this, kStopBox);
    Bind(wxEVT_BUTTON, &CWizStopListDlg::OnAdd, this, kAdd);
    Bind(wxEVT_BUTTON, &CWizStopListDlg::OnEdit, this, kEdit);
    Bind(wxEVT_BUTTON, &CWizStopListDlg::OnRemove, this, kRemove);
    Bind(wxEVT_BUTTON,
         [this](wxCommandEvent&) {
             Store();
             OpenNext<CWizFinishDlg>();
         },
         kNext);
    // Runs before the page pattern's Back, which ends the page.
    Bind(wxEVT_BUTTON,
         [this](wxCommandEvent& event) {
             Store();
             event.Skip();
         },
         kBack);
}

void CWizStopListDlg::InitPage() {
    FindWindow(kStopGroup)->SetFont(GroupFont());
    mStopBox->SetValue(true);
    mModel.Load(Session().mSettings);
    mServers.Show(mModel.Servers());
}

void CWizStopListDlg::Store() { mModel.Store(Session().mSettings); }

void CWizStopListDlg::OnStopBox(wxCommandEvent&) {
    mModel.SetStopListBox(mStopBox->GetValue());
    mServers.Show(mModel.Servers());
}

void CWizStopListDlg::OnAdd(wxCommandEvent&) {
    CWizAddServerDlg add(this);
    if (add.ShowModal() != wxID_OK) return;
    mModel.AddServer(add.Text());
    mServers.Show(mModel.Servers());
}

void CWizStopListDlg::OnEdit(wxCommandEvent&) {
    const auto selected = mServers.Selection();
    if (!selected) return;
    CWizAddServerDlg edit(this);
    edit.SetText(mModel.Servers().Lines()[*selected]);
    if (edit.ShowModal() != wxID_OK) return;
    mModel.EditServer(*selected, edit.Text());
    mServers.Show(mModel.Servers());
}

void CWizStopListDlg::OnRemove(wxCommandEvent&) {
    const auto selected = mServers.Selection();
    if (!selected) return;
    mModel.RemoveServer(*selected);
    mServers.Show(mModel.Servers());
}

}  // namespace wizard
