#pragma once
// What the outside cleaner does for each of its command lines: clean the
// traces the stored cleanup settings select, or add or remove its own
// clean-at-start entry in the per-user Run key and the desktop's autostart.

#include <string>

class CCleanupSettings;

class CSweepJob {
public:
    // The CLEAN_ITEMS bits that the settings' system and browser flags select.
    static unsigned long ItemsOf(const CCleanupSettings& settings);

    // Reads the cleanup settings and cleans their items for every browser;
    // false when another cleaner of this user holds the lock (nothing done).
    static bool Clean();
    // The Run value that starts the cleaner at log-on names programPath;
    // the desktop's autostart entry of the same name starts it.
    static bool RegisterAtStart(const std::string& programPath);
    static bool UnregisterAtStart();
    // The per-user root is an existing folder. Without it every file of the
    // user would be out of reach while the registry's traces went, so the
    // cleaner does nothing rather than report a clean it did not make.
    static bool RootIsUsable();
};
