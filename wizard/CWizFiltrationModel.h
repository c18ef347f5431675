#pragma once
// The filtration page (dialog 152): what the incoming filter kills,
// disables and removes. Four boxes are the incoming section's flags, four
// are the first four script-level flags; "Hide Page Title." is shown
// checked and stored nowhere.

#include "settings/CSettings.h"
#include "wizard/CWizBoxTable.h"

namespace wizard {

class CWizFiltrationModel {
public:
    // Every box checked, as the page starts before it loads.
    CWizFiltrationModel();

    void Load(const CSettings& s) { boxes_.Load(s); }
    void Store(CSettings& s) const { boxes_.Store(s); }
    CWizBoxTable& Boxes() { return boxes_; }
    const CWizBoxTable& Boxes() const { return boxes_; }

private:
    CWizBoxTable boxes_;
};

}  // namespace wizard
