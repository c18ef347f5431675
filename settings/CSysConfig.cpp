#include "settings/CSysConfig.h"

#include "platform/Autostart.h"
#include "platform/Root.h"
#include "settings/CRegHelper.h"
#include "settings/CSettings.h"
#include "settings/RegValues.h"
#include "settings/TextLimits.h"

namespace {

constexpr const char* kSubKey = "Auto";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr platform::REGSAM kRunAccess =
    platform::KEY_READ | platform::KEY_SET_VALUE | platform::KEY_CREATE_SUB_KEY;

constexpr regvalues::DwordValue<CSysConfig> kValues[] = {
    {"_LAUNCH_STARTUP", &CSysConfig::mLaunchAtStartup},
    {"_AUTO_IE", &CSysConfig::mAutoIE},
    {"_AUTO_NETSCAPE", &CSysConfig::mAutoNetscape},
    {"_AUTO_YAHOO_IM", &CSysConfig::mAutoYahooIM},
    {"_AUTO_MSN", &CSysConfig::mAutoMSN},
    {"_AUTO_WS_FTP", &CSysConfig::mAutoWsFTP},
    {"_AUTO_OPERA", &CSysConfig::mAutoOpera},
    {"_AUTO_KAZA", &CSysConfig::mAutoKaza},
    {"_AUTO_E_DONKEY", &CSysConfig::mAutoEDonkey},
    {"_AUTO_CUTE_FTP", &CSysConfig::mAutoCuteFtp},
    {"_AUTO_MIRC", &CSysConfig::mAutoMirc},
};

struct TextValue {
    const char* name;
    std::string CSysConfig::*field;
    platform::DWORD buffer;  // bytes read back, terminating zero included
};

constexpr TextValue kTexts[] = {
    {"_AUTO_KAZAA_SERVER_ADDRESS", &CSysConfig::mAutoKazaaServerAddress, textlimits::kAddress},
    {"_AUTO_KAZAA_SERVER_USR_NAME", &CSysConfig::mAutoKazaaServerUserName, textlimits::kAddress},
    {"_AUTO_KAZAA_SERVER_USR_PWD", &CSysConfig::mAutoKazaaServerPassword, textlimits::kPassword},
};

// Any object inside this library: its address names the library's file.
const int kModuleAnchor = 0;

// The program CSettings::mAppName chooses, without the Windows ".exe";
// empty for an unknown one.
std::string StartupProgram() {
    switch (CSettings::mAppName) {
    case eKVDesk: return "KVDesk";
    case eKavelinP: return "KavelinP";
    }
    return {};
}

// The library's folder as the platform gives it, then the Windows-style
// "\" and the program file, so that the text up to the last "\" is a
// usable folder and the rest the program's name.
std::string StartupCommand() {
    const std::string program = StartupProgram();
    return platform::ModuleFolder(&kModuleAnchor).string() + "\\" + (program.empty() ? "" : program + ".exe");
}

}  // namespace

void CSysConfig::ResetToDefault() {
    mLaunchAtStartup = 1;
    mAutoIE = 1;
    mAutoNetscape = 0;
    mAutoYahooIM = 1;
    mAutoMSN = 1;
    mAutoWsFTP = 0;
    mAutoOpera = 0;
    mAutoKaza = 0;
    mAutoEDonkey = 0;
    mAutoCuteFtp = 0;
    mAutoMirc = 0;
    mAutoKazaaServerAddress.clear();
    mAutoKazaaServerUserName.clear();
    mAutoKazaaServerPassword.clear();
}

void CSysConfig::SetToMaximumProtection() {
    mAutoIE = mAutoNetscape = mAutoYahooIM = mAutoMSN = mAutoWsFTP = mAutoOpera = mAutoKaza =
        mAutoCuteFtp = mAutoMirc = 1;
}

void CSysConfig::SetToMediumProtection() {
    mAutoIE = mAutoYahooIM = mAutoMSN = 1;
    mAutoNetscape = mAutoWsFTP = mAutoOpera = mAutoKaza = mAutoCuteFtp = mAutoMirc = 0;
}

void CSysConfig::SetToMinimumProtection() {
    mAutoIE = mAutoMSN = 1;
    mAutoNetscape = mAutoYahooIM = mAutoWsFTP = mAutoOpera = mAutoKaza = mAutoCuteFtp = mAutoMirc = 0;
}

bool CSysConfig::SetRegistry(const platform::RegKey& root) const {
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    for (const auto& text : kTexts) key.SetStringValue(text.name, this->*(text.field));
    AdjustStartup();
    return true;
}

bool CSysConfig::QueryRegistry(const platform::RegKey& root) {
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::ReadDWORDs(key, *this, kValues);
    for (const auto& text : kTexts) {
        CRegHelper::utl_QueryStringValue(key, text.name, this->*(text.field), text.buffer);
    }
    return true;
}

bool CSysConfig::AdjustStartup() const {
    platform::RegKey run;
    if (run.Create(platform::HKEY_CURRENT_USER, kRunKey, kRunAccess) != platform::ERROR_SUCCESS) {
        return false;
    }
    // The desktop's autostart entry of the same name is what starts the
    // program at log-on here.
    const std::string program = StartupProgram();
    if (mLaunchAtStartup != 0) {
        run.SetStringValue(CSettings::mRunningApp, StartupCommand());
        if (!program.empty())
            platform::WriteAutostartEntry(CSettings::mRunningApp, platform::ModuleFolder(&kModuleAnchor) / program);
    } else {
        run.DeleteValue(CSettings::mRunningApp);
        platform::RemoveAutostartEntry(CSettings::mRunningApp);
    }
    return false;
}
