#pragma once
// The setup-type page (dialog 180): the default settings go straight to the
// finish page, the custom ones through the custom pages.

#include <wx/checkbox.h>

#include "wizard/CWizPage.h"
#include "wizard/CWizSetupTypeModel.h"

namespace wizard {

class CWizSetupTypeDlg : public CWizPage {
public:
    explicit CWizSetupTypeDlg(CWizardSession& session);

    const CWizSetupTypeModel& Model() const { return mModel; }

private:
    void InitPage() override;
    void OnNext(wxCommandEvent& event);
    void OnChoice(wxCommandEvent& event);

    CWizSetupTypeModel mModel;
    wxCheckBox* mDefault;
    wxCheckBox* mCustom;
};

}  // namespace wizard
