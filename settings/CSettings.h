#pragma once
// The one settings model of the system, copied by value between modules.
// A new object holds the section defaults with the medium preset applied.
// The registry root is HKCU\SOFTWARE\[mRunningApp], one subkey per section.

#include <string>

#include "platform/Types.h"
#include "settings/CCleanupSettings.h"
#include "settings/CFiltrationSettings.h"
#include "settings/CGnrlSettings.h"
#include "settings/CHunterSettings.h"
#include "settings/CPrivacySettings.h"
#include "settings/CSysConfig.h"

// The program file that the start-with-Windows value names.
enum eAppName : platform::DWORD {
    eKVDesk = 1,    // the control panel
    eKavelinP = 2,  // the second program variant
};

// The root key and start-with-Windows value name when none is set.
inline constexpr const char* kDefaultRunningApp = "Kavelin Ver 2.0";

class CSettings {
public:
    CSettings();

    CCleanupSettings* getCleanupSettings() { return &mCleanupSettings; }
    CFiltrationSettings* getFiltrationSettings() { return &mFiltrationSettings; }
    CPrivacySettings* getPrivacySettings() { return &mPrivacySettings; }
    CGnrlSettings* getGeneralSettings() { return &mGnrlSettings; }
    CSysConfig* getSysConfig() { return &mSysConfig; }
    CHunterSettings* getHunterSettings() { return &mHunterSettings; }
    const CCleanupSettings* getCleanupSettings() const { return &mCleanupSettings; }
    const CFiltrationSettings* getFiltrationSettings() const { return &mFiltrationSettings; }
    const CPrivacySettings* getPrivacySettings() const { return &mPrivacySettings; }
    const CGnrlSettings* getGeneralSettings() const { return &mGnrlSettings; }
    const CSysConfig* getSysConfig() const { return &mSysConfig; }
    const CHunterSettings* getHunterSettings() const { return &mHunterSettings; }

    // The presets touch cleanup, filtration, privacy, general and system
    // configuration, in that order; never the hunter.
    void SetToMaximumProtection();
    void SetToMediumProtection();
    void SetToMinimumProtection();
    void SetToPersonalDefaults();

    // Writes every section below the root key, in one save. False, with
    // nothing stored, when a text is too long to be read back whole (the
    // program log names it) or the save fails (a full disk: the stored
    // settings stay as they were); false also when a section fails hard (the
    // Hunter key cannot be made), and what was written then stays.
    bool SetRegistry();
    // Reads every section, all from one save of the hive. When the root key
    // is missing (first run) the lists are filled from their default files
    // and the object is written instead. False when a section fails hard
    // (later sections keep their values) or the first-run write fails.
    bool QueryRegistry();

    // Names the root key and the start-with-Windows value.
    static std::string mRunningApp;
    // Chooses the program file of the start-with-Windows value.
    static eAppName mAppName;

private:
    CCleanupSettings mCleanupSettings;
    CFiltrationSettings mFiltrationSettings;
    CPrivacySettings mPrivacySettings;
    CGnrlSettings mGnrlSettings;
    CSysConfig mSysConfig;
    CHunterSettings mHunterSettings;
};
