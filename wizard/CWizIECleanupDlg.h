#pragma once
// The browser-cleanup page (dialog 151): browser traces to clean, Run Now
// and the system's Organize Favorites dialog. Opens the filtration page.

#include <map>

#include <wx/checkbox.h>

#include "wizard/CWizIECleanupModel.h"
#include "wizard/CWizPage.h"

namespace wizard {

class CWizIECleanupDlg : public CWizPage {
public:
    explicit CWizIECleanupDlg(CWizardSession& session);

private:
    void InitPage() override;
    void Store();
    void OnRunNow(wxCommandEvent& event);
    void OnOrganize(wxCommandEvent& event);

    CWizIECleanupModel mModel;
    std::map<int, wxCheckBox*> mBoxes;
    CGifButton* mOrganize;
    CGifButton* mRunNow;
};

}  // namespace wizard
