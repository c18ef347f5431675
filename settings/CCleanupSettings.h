#pragma once
// The cleanup section: when to clean and which traces. It is always stored
// under the fixed key HKCU\Software\Kavelin Ver 2.0\Cleanup, whatever program
// variant writes it, so the outside cleaner finds it.

#include "platform/Registry.h"
#include "settings/CCleanupAdvanced.h"
#include "settings/CCleanupInternet.h"
#include "settings/CCleanupSys.h"

class CCleanupSettings {
public:
    CCleanupSettings() = default;
    CCleanupSettings(const CCleanupSettings&) = default;
    CCleanupSettings& operator=(const CCleanupSettings&) = default;
    virtual ~CCleanupSettings() = default;

    void Clear();
    void SetToPersonalDefaults();
    void SetToMaximumProtection();
    void SetToMediumProtection();
    void SetToMinimumProtection();

    bool SetRegistry(const platform::RegKey& root) const;
    bool QueryRegistry(const platform::RegKey& root);

    CCleanupAdvanced mCleanupAdvanced;
    CCleanupSys mCleanupSys;
    CCleanupInternet mCleanupInternet;

private:
    void SetAdvanceSettings(bool on);
    void SetInternetSettings(bool on);
    void SetSystemSettings(bool on);
};
