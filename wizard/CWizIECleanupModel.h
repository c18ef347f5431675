#pragma once
// The browser-cleanup page (dialog 151): eight browser-trace boxes (the
// temporary-files one is the system section's) stored in the cleanup
// section; Run Now cleans them for the system browser.

#include "settings/CSettings.h"
#include "wizard/CWizBoxTable.h"
#include "wizard/CWizCleaningRun.h"

namespace wizard {

class CWizIECleanupModel {
public:
    CWizIECleanupModel();

    void Load(const CSettings& s) { boxes_.Load(s); }
    void Store(CSettings& s) const { boxes_.Store(s); }
    CWizBoxTable& Boxes() { return boxes_; }
    const CWizBoxTable& Boxes() const { return boxes_; }

    // Sets the sweeper's system-browser flag, so the browser operations act
    // on that browser, then runs the checked operations.
    void RunNow(CTraceSweeper& sweeper, ICleaningStatus& status) const;

    static const SCleaningPlan& Plan();

private:
    CWizBoxTable boxes_;
};

}  // namespace wizard
