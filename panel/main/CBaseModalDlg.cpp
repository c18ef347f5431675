#include "panel/main/CBaseModalDlg.h"

bool CBaseModalDlg::Create(int templateId, wxWindow* parent, const wxString& title, const wxSize& size,
                           long style) {
    if (!wxDialog::Create(parent, templateId, title, wxDefaultPosition, size, style)) return false;
    BindBaseCommands();
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCancel(); });
    // Only the main window shows the skin behind itself.
    if (!IsMainWindow()) SetBackgroundColour(*wxWHITE);
    if (!OnInitDialog()) return false;
    ApplySkinColours();
    return true;
}

void CBaseModalDlg::OnCancel() {
    if (IsModal()) EndModal(0);
    else Hide();
}
