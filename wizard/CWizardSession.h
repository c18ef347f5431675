#pragma once
// What the wizard's application object holds for the whole run, built in
// this order and destroyed in the reverse: the configurators, the one
// settings object every page edits, and the trace sweeper.

#include <filesystem>

#include "cleanup/CTraceSweeper.h"
#include "settings/CPrefsKeeper.h"
#include "settings/CSettings.h"

namespace wizard {

struct CWizardSession {
    CPrefsKeeper mPrefsKeeper;
    CSettings mSettings;
    CTraceSweeper mTraceSweeper;
    // The code of the quit message that ended the run, 0 otherwise.
    int mExitCode = 0;
    // Where the programs the wizard starts (the cleaner, the desktop's
    // opener) are looked for first; empty: this program's own folder.
    std::filesystem::path mStarterFolder;
};

}  // namespace wizard
