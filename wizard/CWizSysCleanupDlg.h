#pragma once
// The system-cleanup page (dialog 150): system traces to clean, custom
// directories, and Run Now. Opens the browser-cleanup page.

#include <map>

#include <wx/checkbox.h>

#include "wizard/CEntryListControls.h"
#include "wizard/CWizPage.h"
#include "wizard/CWizSysCleanupModel.h"

namespace wizard {

class CWizSysCleanupDlg : public CWizPage {
public:
    explicit CWizSysCleanupDlg(CWizardSession& session);

    const CWizSysCleanupModel& Model() const { return mModel; }

private:
    void InitPage() override;
    void Store();
    void OnCustom(wxCommandEvent& event);
    void OnSelection(wxCommandEvent& event);
    void OnRunNow(wxCommandEvent& event);

    CWizSysCleanupModel mModel;
    std::map<int, wxCheckBox*> mBoxes;
    wxCheckBox* mCustom;
    CEntryListControls mDirectories;
    CGifButton* mRunNow;
};

}  // namespace wizard
