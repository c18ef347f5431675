#include "wizard/CWizAdvProxyDlg.h"

#include <string>

#include <wx/statbox.h>
#include <wx/stattext.h>

#include "wizard/CGifButton.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {

using namespace advproxy;

CWizAdvProxyDlg::CWizAdvProxyDlg(wxWindow* parent, CSettings& settings, int pageChainFlag)
    : wxDialog(parent, dlg::kAdvProxy, "Advanced Proxy Settings", wxDefaultPosition, wxSize(360, 230),
               wxCAPTION | wxSYSTEM_MENU),
      mSettings(settings),
      mModel(settings, pageChainFlag),
      mGroup(new wxStaticBox(this, wxID_ANY, "Advanced Chain Settings", wxPoint(10, 6), wxSize(330, 130))),
      mChain(new wxCheckBox(this, kChain, "Connect through proxy chain :", wxPoint(24, 30))),
      mLength(new wxTextCtrl(this, kChainLength, wxString(), wxPoint(200, 62), wxSize(120, -1))),
      mTimer(new wxTextCtrl(this, kChainTimer, wxString(), wxPoint(200, 98), wxSize(120, -1))) {
    new wxStaticText(this, wxID_ANY, "Chain path length :", wxPoint(24, 66));
    new wxStaticText(this, wxID_ANY, "Connection time-out (ms) :", wxPoint(24, 102));
    auto* ok = new CGifButton(this, kOk, wxPoint(90, 150));
    auto* cancel = new CGifButton(this, kCancel, wxPoint(190, 150));
    ok->SetImages("IDR_OK", "IDR_OK_OVER");
    cancel->SetImages("IDR_CANCEL", "IDR_CANCEL_OVER");
    mLength->SetValue(std::to_string(mModel.ChainLength()));
    mTimer->SetValue(std::to_string(mModel.ChainTimer()));
    ShowModel();
    ApplySideDialogColours(this);
    Bind(wxEVT_CHECKBOX, &CWizAdvProxyDlg::OnChain, this, kChain);
    Bind(wxEVT_BUTTON, &CWizAdvProxyDlg::OnOk, this, kOk);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CANCEL); }, kCancel);
}

void CWizAdvProxyDlg::ShowModel() {
    mChain->SetValue(mModel.ChainChecked());
    mLength->Enable(mModel.EditsEnabled());
    mTimer->Enable(mModel.EditsEnabled());
}

void CWizAdvProxyDlg::OnChain(wxCommandEvent&) {
    mModel.ToggleChain();
    ShowModel();
}

void CWizAdvProxyDlg::OnOk(wxCommandEvent&) {
    mChainFlag = mModel.Ok(mSettings, mLength->GetValue().ToStdString(), mTimer->GetValue().ToStdString());
    EndModal(wxID_OK);
}

}  // namespace wizard
