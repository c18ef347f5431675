#include "wizard/CAboutDlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "wizard/DialogIds.h"
#include "wizard/ProgramIcon.h"
#include "wizard/WizTexts.h"

namespace wizard {

using namespace about;

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, dlg::kAbout, text::kAboutTitle, wxDefaultPosition, wxSize(330, 110),
               wxCAPTION | wxSYSTEM_MENU) {
    const wxIcon icon = ProgramIcon();
    new wxStaticBitmap(this, kIcon, icon.IsOk() ? wxBitmap(icon) : wxBitmap(32, 32), wxPoint(16, 16));
    new wxStaticText(this, kVersion, text::kAboutVersion, wxPoint(64, 18));
    new wxStaticText(this, kCopyright, text::kAboutCopyright, wxPoint(64, 42));
    new wxButton(this, kOk, "OK", wxPoint(230, 66));
    SetAffirmativeId(kOk);
}

}  // namespace wizard
