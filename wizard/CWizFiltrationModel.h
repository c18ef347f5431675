#pragma once
// The filtration page (dialog 152): what the incoming filter kills,
// disables and removes. Four boxes are the incoming section's flags, four
// are the first four script-level flags; "Hide Page Title." is shown
// checked and stored nowhere.

#include "settings/CSettings.h"
#include "wizard/CWizBoxPageModel.h"

namespace wizard {

class CWizFiltrationModel : public CWizBoxPageModel {
public:
    // Every box checked, as the page starts before it loads.
    CWizFiltrationModel();
};

}  // namespace wizard
