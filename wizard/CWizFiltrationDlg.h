#pragma once
// The filtration page (dialog 152): what the incoming filter kills,
// disables and removes. Opens the protection page.

#include <map>

#include <wx/checkbox.h>

#include "wizard/CWizFiltrationModel.h"
#include "wizard/CWizPage.h"

namespace wizard {

class CWizFiltrationDlg : public CWizPage {
public:
    explicit CWizFiltrationDlg(CWizardSession& session);

private:
    void InitPage() override;
    void Store();

    CWizFiltrationModel mModel;
    std::map<int, wxCheckBox*> mBoxes;
};

}  // namespace wizard
