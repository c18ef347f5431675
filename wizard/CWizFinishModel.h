#pragma once
// What Finish does before the pages end: save every section, then start the
// outside cleaner for the start-up choice.

#include <filesystem>
#include <string>

#include "platform/Process.h"
#include "settings/CSettings.h"

namespace wizard {

class CWizFinishModel {
public:
    // The cleaner's argument: "-r" when clean-at-Windows-start is set, else
    // "-u".
    static std::string CleanerArgument(const CSettings& s);

    // Writes s under the settings key and starts the cleaner program
    // (looked up in starterFolder, empty: the running program's folder,
    // then PATH) without waiting for it. Neither failure is reported; the
    // started program, if any, is returned for callers that care.
    static platform::Process Finish(CSettings& s, const std::filesystem::path& starterFolder = {});

    static constexpr const char* kCleanerProgram = "KVSweep";
};

}  // namespace wizard
