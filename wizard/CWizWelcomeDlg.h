#pragma once
// The welcome page (dialog 102): the first page and the application's main
// window; its modal loop is the program's life. Its Back button is inactive.

#include "wizard/CWizPage.h"

namespace wizard {

class CWelcomeText;

class CWizWelcomeDlg : public CWizPage {
public:
    explicit CWizWelcomeDlg(CWizardSession& session);

private:
    void OnNext(wxCommandEvent& event);

    CWelcomeText* mText;
};

}  // namespace wizard
