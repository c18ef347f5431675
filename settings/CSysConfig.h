#pragma once
// The system-configuration section: which client programs are pointed at
// the relay, and whether the control panel starts with the session.

#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CSysConfig {
public:
    bool getLaunchAtStartup() const { return mLaunchAtStartup != 0; }
    bool getAutoIE() const { return mAutoIE != 0; }
    bool getAutoNetscape() const { return mAutoNetscape != 0; }
    bool getAutoYahooIM() const { return mAutoYahooIM != 0; }
    bool getAutoMSN() const { return mAutoMSN != 0; }
    bool getAutoWsFTP() const { return mAutoWsFTP != 0; }
    bool getAutoOpera() const { return mAutoOpera != 0; }
    bool getAutoKaza() const { return mAutoKaza != 0; }
    bool getAutoEDonkey() const { return mAutoEDonkey != 0; }
    bool getAutoCuteFtp() const { return mAutoCuteFtp != 0; }
    bool getAutoCuteMirc() const { return mAutoMirc != 0; }
    const char* getAutoKazaaServerAddress() const { return mAutoKazaaServerAddress.c_str(); }
    const char* getAutoKazaaServerUserName() const { return mAutoKazaaServerUserName.c_str(); }
    const char* getAutoKazaaServerPassword() const { return mAutoKazaaServerPassword.c_str(); }

    void setLaunchAtStartup(bool on) { mLaunchAtStartup = on; }
    void setAutoIE(bool on) { mAutoIE = on; }
    void setAutoNetscape(bool on) { mAutoNetscape = on; }
    void setAutoYahooIM(bool on) { mAutoYahooIM = on; }
    void setAutoMSN(bool on) { mAutoMSN = on; }
    void setAutoWsFTP(bool on) { mAutoWsFTP = on; }
    void setAutoOpera(bool on) { mAutoOpera = on; }
    void setAutoKaza(bool on) { mAutoKaza = on; }
    void setAutoEDonkey(bool on) { mAutoEDonkey = on; }
    void setAutoCuteFtp(bool on) { mAutoCuteFtp = on; }
    void setAutoCuteMirc(bool on) { mAutoMirc = on; }
    void setAutoKazaaServerAddress(const char* text) { mAutoKazaaServerAddress = text ? text : ""; }
    void setAutoKazaaServerUserName(const char* text) { mAutoKazaaServerUserName = text ? text : ""; }
    void setAutoKazaaServerPassword(const char* text) { mAutoKazaaServerPassword = text ? text : ""; }

    void ResetToDefault();
    void SetToMaximumProtection();
    void SetToMediumProtection();
    void SetToMinimumProtection();

    // Writing ends with AdjustStartup.
    bool SetRegistry(const platform::RegKey& root) const;
    bool QueryRegistry(const platform::RegKey& root);

    // Writes the start-with-Windows value (HKCU ...\CurrentVersion\Run, named
    // CSettings::mRunningApp) when mLaunchAtStartup is set, deletes it
    // otherwise. The data is this library's folder, "\" and the program file
    // chosen by CSettings::mAppName. The result carries no meaning (false).
    bool AdjustStartup() const;

    platform::DWORD mLaunchAtStartup = 0;  // _LAUNCH_STARTUP
    platform::DWORD mAutoIE = 1;           // _AUTO_IE
    platform::DWORD mAutoNetscape = 0;     // _AUTO_NETSCAPE
    platform::DWORD mAutoYahooIM = 0;      // _AUTO_YAHOO_IM
    platform::DWORD mAutoMSN = 0;          // _AUTO_MSN
    platform::DWORD mAutoWsFTP = 0;        // _AUTO_WS_FTP
    platform::DWORD mAutoOpera = 0;        // _AUTO_OPERA
    platform::DWORD mAutoKaza = 0;         // _AUTO_KAZA
    platform::DWORD mAutoEDonkey = 0;      // _AUTO_E_DONKEY (stored only)
    platform::DWORD mAutoCuteFtp = 0;      // _AUTO_CUTE_FTP
    platform::DWORD mAutoMirc = 0;         // _AUTO_MIRC
    std::string mAutoKazaaServerAddress;   // _AUTO_KAZAA_SERVER_ADDRESS
    std::string mAutoKazaaServerUserName;  // _AUTO_KAZAA_SERVER_USR_NAME
    std::string mAutoKazaaServerPassword;  // _AUTO_KAZAA_SERVER_USR_PWD
};

static_assert(std::is_standard_layout_v<CSysConfig>);
static_assert(offsetof(CSysConfig, mLaunchAtStartup) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CSysConfig, mAutoMirc) == 10 * sizeof(platform::DWORD));
static_assert(offsetof(CSysConfig, mAutoKazaaServerAddress) >= 11 * sizeof(platform::DWORD));
