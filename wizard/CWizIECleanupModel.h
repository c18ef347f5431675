#pragma once
// The browser-cleanup page (dialog 151): eight browser-trace boxes (the
// temporary-files one is the system section's) stored in the cleanup
// section; Run Now cleans them for the system browser.

#include "settings/CSettings.h"
#include "wizard/CWizBoxPageModel.h"
#include "wizard/CWizCleaningRun.h"

namespace wizard {

class CWizIECleanupModel : public CWizBoxPageModel {
public:
    CWizIECleanupModel();

    // Sets the sweeper's system-browser flag, so the browser operations act
    // on that browser, then runs the checked operations.
    void RunNow(CTraceSweeper& sweeper, ICleaningStatus& status) const;

    static const SCleaningPlan& Plan();
};

}  // namespace wizard
