#include "wizard/CWizAddDirDlg.h"

#include <wx/dirdlg.h>
#include <wx/filefn.h>

#include "wizard/CGifButton.h"
#include "wizard/DialogIds.h"

namespace wizard {

CWizAddDirDlg::CWizAddDirDlg(wxWindow* parent)
    : CWizAddEntryDlg(parent, dlg::kAddDir, "Add Custom Directory", "Directory :") {
    auto* browse = new CGifButton(this, addentry::kBrowse, wxPoint(320, 20));
    browse->SetImages("IDR_BROWSE", "IDR_BROWSE_OVER");
    Bind(wxEVT_BUTTON, &CWizAddDirDlg::OnBrowse, this, addentry::kBrowse);
}

void CWizAddDirDlg::OnBrowse(wxCommandEvent&) {
    wxDirDialog browser(this, wxDirSelectorPromptStr, wxGetCwd(), wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (browser.ShowModal() == wxID_OK) Edit().SetValue(browser.GetPath());
}

}  // namespace wizard
