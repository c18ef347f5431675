#pragma once
// The light-blue dialog that adds or edits one list line: an edit beside
// its label, OK and Cancel picture buttons. The caller sets the text before
// running it and reads it after OK.

#include <string>

#include <wx/dialog.h>
#include <wx/textctrl.h>

namespace wizard {

class CWizAddEntryDlg : public wxDialog {
public:
    CWizAddEntryDlg(wxWindow* parent, int dialog, const char* title, const char* label);

    void SetText(const std::string& text) { mText = text; }
    const std::string& Text() const { return mText; }
    wxTextCtrl& Edit() { return *mEdit; }

    int ShowModal() override;

private:
    void OnOk(wxCommandEvent& event);

    std::string mText;
    wxTextCtrl* mEdit;
};

}  // namespace wizard
