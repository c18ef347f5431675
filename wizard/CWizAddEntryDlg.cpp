#include "wizard/CWizAddEntryDlg.h"

#include <wx/stattext.h>

#include "wizard/CGifButton.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {

using namespace addentry;

CWizAddEntryDlg::CWizAddEntryDlg(wxWindow* parent, int dialog, const char* title, const char* label)
    : wxDialog(parent, dialog, title, wxDefaultPosition, wxSize(420, 150), wxCAPTION | wxSYSTEM_MENU),
      mEdit(new wxTextCtrl(this, kText, wxString(), wxPoint(110, 24), wxSize(200, -1))) {
    new wxStaticText(this, wxID_ANY, label, wxPoint(16, 28));
    auto* ok = new CGifButton(this, kOk, wxPoint(110, 70));
    auto* cancel = new CGifButton(this, kCancel, wxPoint(210, 70));
    ok->SetImages("IDR_OK", "IDR_OK_OVER");
    cancel->SetImages("IDR_CANCEL", "IDR_CANCEL_OVER");
    Bind(wxEVT_BUTTON, &CWizAddEntryDlg::OnOk, this, kOk);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CANCEL); }, kCancel);
}

int CWizAddEntryDlg::ShowModal() {
    mEdit->SetValue(mText);
    ApplySideDialogColours(this);
    return wxDialog::ShowModal();
}

void CWizAddEntryDlg::OnOk(wxCommandEvent&) {
    mText = mEdit->GetValue().ToStdString();
    EndModal(wxID_OK);
}

}  // namespace wizard
