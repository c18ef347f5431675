#include "controls/WxMessageBoxes.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>

#include "platform/MessageBox.h"

namespace wxboxes {

namespace {

long StyleOf(platform::UINT type) {
    long style = 0;
    switch (type & platform::MB_TYPEMASK) {
    case platform::MB_OKCANCEL: style = wxOK | wxCANCEL; break;
    case platform::MB_YESNO: style = wxYES_NO; break;
    case platform::MB_YESNOCANCEL: style = wxYES_NO | wxCANCEL; break;
    default: style = wxOK; break;
    }
    switch (type & platform::MB_ICONMASK) {
    case platform::MB_ICONERROR: style |= wxICON_ERROR; break;
    case platform::MB_ICONQUESTION: style |= wxICON_QUESTION; break;
    case platform::MB_ICONWARNING: style |= wxICON_WARNING; break;
    case platform::MB_ICONINFORMATION: style |= wxICON_INFORMATION; break;
    default: break;
    }
    return style;
}

int Show(const std::string& text, const std::string& caption, platform::UINT type) {
    switch (wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption), StyleOf(type))) {
    case wxYES: return platform::IDYES;
    case wxNO: return platform::IDNO;
    case wxCANCEL: return platform::IDCANCEL;
    default: return platform::IDOK;
    }
}

}  // namespace

void Install() {
    platform::SetMessageBoxHandler(
        [](platform::HWND, const std::string& text, const std::string& caption, platform::UINT type) {
            if (wxThread::IsMain()) return Show(text, caption, type);
            if (wxTheApp) wxTheApp->CallAfter([text, caption, type] { Show(text, caption, type); });
            return platform::DefaultMessageBoxAnswer(type);
        });
}

}  // namespace wxboxes
