#include "wizard/app/DialogMessageBox.h"

#include <wx/msgdlg.h>

#include "platform/MessageBox.h"

namespace wizard {
namespace {

long ButtonStyle(platform::UINT type) {
    switch (type & platform::MB_TYPEMASK) {
        case platform::MB_OKCANCEL:
            return wxOK | wxCANCEL;
        case platform::MB_YESNO:
            return wxYES_NO;
        case platform::MB_YESNOCANCEL:
            return wxYES_NO | wxCANCEL;
        default:
            return wxOK;
    }
}

long IconStyle(platform::UINT type) {
    switch (type & platform::MB_ICONMASK) {
        case platform::MB_ICONQUESTION:
            return wxICON_QUESTION;
        case platform::MB_ICONERROR:
            return wxICON_ERROR;
        case platform::MB_ICONWARNING:
            return wxICON_WARNING;
        case platform::MB_ICONINFORMATION:
            return wxICON_INFORMATION;
        default:
            return 0;
    }
}

}  // namespace

int ShowDialogMessageBox(platform::HWND, const std::string& text, const std::string& caption, platform::UINT type) {
    wxMessageDialog dialog(nullptr, wxString::FromUTF8(text), wxString::FromUTF8(caption),
                           ButtonStyle(type) | IconStyle(type));
    switch (dialog.ShowModal()) {
        case wxID_YES:
            return platform::IDYES;
        case wxID_NO:
            return platform::IDNO;
        case wxID_CANCEL:
            return platform::IDCANCEL;
        default:
            return platform::IDOK;
    }
}

}  // namespace wizard
