#pragma once
// The browser-cleanup page (dialog 151): eight browser-trace boxes (the
// temporary-files one is the system section's) stored in the cleanup
// section; Run Now cleans them for the system browser; Organize opens the
// Favorites folder.

#include <filesystem>

#include "platform/Process.h"
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

    // Opens the Favorites stand-in (made when missing) with the desktop's
    // opener, the folder as its one argument; the opener is looked up in
    // starterFolder first. Does nothing without the folder or the opener.
    static platform::Process Organize(const std::filesystem::path& starterFolder = {});

    static constexpr const char* kOpener = "xdg-open";

    static const SCleaningPlan& Plan();
};

}  // namespace wizard
