#include "settings/CWSFTPConfig.h"

#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "settings/CPrefsKeeper.h"
#include "settings/ConfigFiles.h"
#include "settings/ConfigKeys.h"

namespace {

std::string UninstallKey() { return std::string(configkeys::kUninstall) + "WS_FTP Pro"; }

std::optional<std::filesystem::path> WsFtpIni() {
    return configfiles::ShellFile(platform::CSIDL_PROGRAM_FILES, "WS_FTP\\WS_FTP.ini");
}

}  // namespace

int CWSFTPConfig::IsInstalled() {
    platform::RegKey key;
    return key.Open(platform::HKEY_LOCAL_MACHINE, UninstallKey(), platform::KEY_READ) == platform::ERROR_SUCCESS ? 1 : 0;
}

long CWSFTPConfig::SetToKV(int, const char*, unsigned int port, eProxyType) {
    if (!IsInstalled()) return platform::E_FAIL;
    const auto ini = WsFtpIni();
    if (!ini) return 1;
    const std::vector<std::string> lines = {"host=127.0.0.1", "uid=", "firetype=2", "port=" + std::to_string(port)};
    return platform::WritePrivateProfileSection("firewall", lines, *ini) ? 0 : 1;
}

long CWSFTPConfig::Backup() {
    if (!CPrefsKeeper::IsProgramInstalled(UninstallKey().c_str(), "WS_FTP Pro", nullptr)) return 1;
    return configfiles::BackUpFile(WsFtpIni(), configfiles::BackupFile("firewall.ini")) ? 0 : 1;
}

long CWSFTPConfig::Restore() {
    return configfiles::RestoreFile(configfiles::BackupFile("firewall.ini"), WsFtpIni()) ? 0 : 1;
}
