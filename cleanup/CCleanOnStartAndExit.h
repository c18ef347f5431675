#pragma once
// Cleans the traces a settings object selects, for cleaning at start and at
// exit. Only the system browser's traces and the system traces with a
// cleaner of their own are cleaned; the network, temporary-files and
// recent-documents flags play no part here.

#include "settings/CSettings.h"

class CCleanOnStartAndExit {
public:
    // Both run every selected cleaner once and answer true.
    bool CleanOnStart(CSettings settings);
    bool CleanOnExit(CSettings settings);
};
