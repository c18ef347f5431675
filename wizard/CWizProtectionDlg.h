#pragma once
// The protection page (dialog 153): outgoing protections and cookies.
// Opens the stop-list page.

#include <map>

#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include "wizard/CWizPage.h"
#include "wizard/CWizProtectionModel.h"

namespace wizard {

class CWizProtectionDlg : public CWizPage {
public:
    explicit CWizProtectionDlg(CWizardSession& session);

private:
    void InitPage() override;
    void Store();

    CWizProtectionModel mModel;
    std::map<int, wxCheckBox*> mBoxes;
    wxTextCtrl* mFakeIp;
};

}  // namespace wizard
