#pragma once
// The About box (dialog 100): a plain dialog with the program's icon, its
// version and copyright lines, and OK. Only the welcome page's system
// command opens it, and the borderless page has no system menu to give it.

#include <wx/dialog.h>

namespace wizard {

class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);
};

}  // namespace wizard
