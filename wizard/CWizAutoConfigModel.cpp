#include "wizard/CWizAutoConfigModel.h"

#include <array>

#include "platform/Registry.h"
#include "settings/CPrefsKeeper.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using namespace autoconfig;

struct SFlagBox {
    int box;
    bool (CSysConfig::*get)() const;
    void (CSysConfig::*set)(bool);
};

constexpr std::array kFlagBoxes{
    SFlagBox{kIE, &CSysConfig::getAutoIE, &CSysConfig::setAutoIE},
    SFlagBox{kOpera, &CSysConfig::getAutoOpera, &CSysConfig::setAutoOpera},
    SFlagBox{kWsFtp, &CSysConfig::getAutoWsFTP, &CSysConfig::setAutoWsFTP},
    SFlagBox{kNetscape, &CSysConfig::getAutoNetscape, &CSysConfig::setAutoNetscape},
    SFlagBox{kMSN, &CSysConfig::getAutoMSN, &CSysConfig::setAutoMSN},
    SFlagBox{kYahoo, &CSysConfig::getAutoYahooIM, &CSysConfig::setAutoYahooIM},
    SFlagBox{kMirc, &CSysConfig::getAutoCuteMirc, &CSysConfig::setAutoCuteMirc},
    SFlagBox{kCuteFtp, &CSysConfig::getAutoCuteFtp, &CSysConfig::setAutoCuteFtp},
    SFlagBox{kLaunchAtStartup, &CSysConfig::getLaunchAtStartup, &CSysConfig::setLaunchAtStartup},
};

// Programs found through their uninstall entry (HKLM).
struct SUninstallProbe {
    const char* program;
    int box;
};

constexpr std::array kUninstallProbes{
    SUninstallProbe{"Opera", kOpera},
    SUninstallProbe{"Mirc", kMirc},
    SUninstallProbe{"WS_FTP Pro", kWsFtp},
    SUninstallProbe{"Netscape (7.0)", kNetscape},
    SUninstallProbe{"Yahoo! Messenger", kYahoo},
};

constexpr const char* kUninstallRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr platform::DWORD kValueBuffer = 260;

// MSN Messenger leaves no uninstall entry; its own key tells.
bool IsMsnInstalled() {
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger") != platform::ERROR_SUCCESS) {
        return false;
    }
    std::array<platform::BYTE, kValueBuffer> buffer{};
    platform::DWORD size = kValueBuffer;
    return key.QueryValue("AlwaysOnTop", nullptr, buffer.data(), &size) == platform::ERROR_SUCCESS;
}

}  // namespace

CWizAutoConfigModel::CWizAutoConfigModel() {
    for (const SFlagBox& flag : kFlagBoxes) {
        checked_[flag.box] = false;
        enabled_[flag.box] = true;
    }
    for (const SUninstallProbe& probe : kUninstallProbes) enabled_[probe.box] = false;
    enabled_[kMSN] = false;
    checked_[kToolbarAlerts] = true;
    checked_[kCleanAtStart] = true;
    enabled_[kToolbarAlerts] = true;
    enabled_[kCleanAtStart] = true;
}

void CWizAutoConfigModel::Load(CSettings& s) {
    s.QueryRegistry();
    const CSysConfig& sys = *s.getSysConfig();
    for (const SFlagBox& flag : kFlagBoxes) checked_[flag.box] = (sys.*flag.get)();
}

void CWizAutoConfigModel::ProbeInstalled() {
    for (const SUninstallProbe& probe : kUninstallProbes) {
        const std::string key = std::string(kUninstallRoot) + probe.program;
        if (CPrefsKeeper::IsProgramInstalled(key.c_str(), nullptr, nullptr)) enabled_[probe.box] = true;
    }
    if (IsMsnInstalled()) enabled_[kMSN] = true;
}

void CWizAutoConfigModel::Store(CSettings& s) const {
    CSysConfig& sys = *s.getSysConfig();
    for (const SFlagBox& flag : kFlagBoxes) (sys.*flag.set)(IsChecked(flag.box));
    s.getCleanupSettings()->mCleanupAdvanced.mWindowsStart = IsChecked(kCleanAtStart) ? 1 : 0;
}

bool CWizAutoConfigModel::IsChecked(int box) const {
    const auto it = checked_.find(box);
    return it != checked_.end() && it->second;
}

void CWizAutoConfigModel::SetChecked(int box, bool checked) {
    if (checked_.contains(box)) checked_[box] = checked;
}

bool CWizAutoConfigModel::IsEnabled(int box) const {
    const auto it = enabled_.find(box);
    return it != enabled_.end() && it->second;
}

std::vector<int> CWizAutoConfigModel::LoadedBoxes() {
    std::vector<int> boxes;
    for (const SFlagBox& flag : kFlagBoxes) boxes.push_back(flag.box);
    return boxes;
}

}  // namespace wizard
