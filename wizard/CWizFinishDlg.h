#pragma once
// The finish page (dialog 154): Finish saves the settings, starts the
// outside cleaner and ends every page. The window's close command does
// nothing here.

#include "wizard/CWizPage.h"

namespace wizard {

class CFinishText;

class CWizFinishDlg : public CWizPage {
public:
    explicit CWizFinishDlg(CWizardSession& session);

private:
    void OnFinish(wxCommandEvent& event);

    CFinishText* mText;
};

}  // namespace wizard
