#pragma once
// The wizard program: no command line and no window of its own; it runs the
// welcome page modally and ends when that page's loop ends.

#include <wx/app.h>

#include "wizard/CWizardSession.h"

namespace wizard {

class CSetupGuideApp : public wxApp {
public:
    bool OnInit() override;
    // The welcome page's modal loop; the exit code of a quit message, else 0.
    int OnRun() override;

private:
    CWizardSession mSession;
};

}  // namespace wizard
