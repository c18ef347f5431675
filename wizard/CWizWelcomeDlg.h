#pragma once
// The welcome page (dialog 102): the first page and the application's main
// window; its modal loop is the program's life. Its Back button is inactive.
// It carries the program's icon (the window manager shows it on the
// taskbar, minimised and while dragging).

#include "wizard/CWizPage.h"

namespace wizard {

class CWelcomeText;

class CWizWelcomeDlg : public CWizPage {
public:
    explicit CWizWelcomeDlg(CWizardSession& session);

    // A system command: the About command (0x10, the low four bits aside)
    // runs the About box and returns true; any other is left to the default
    // handling (false).
    bool OnSysCommand(unsigned command);

private:
    void OnNext(wxCommandEvent& event);

    CWelcomeText* mText;
};

}  // namespace wizard
