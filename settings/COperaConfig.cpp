#include "settings/COperaConfig.h"

#include <vector>

#include "platform/IniFile.h"
#include "platform/Root.h"
#include "settings/ConfigFiles.h"
#include "settings/ConfigKeys.h"

namespace {

constexpr std::size_t kUninstallBuffer = 260;

std::string Path(const std::optional<std::filesystem::path>& path) { return path ? path->string() : std::string(); }

}  // namespace

void COperaConfig::SetOperaFileName() {
    m_OperaFileName = Path(configfiles::ShellFile(platform::CSIDL_APPDATA, "Opera\\Opera7\\profile\\opera6.ini"));
}

void COperaConfig::SetOperaBackupFileName() { m_OperaBackupFileName = Path(configfiles::BackupFile("opera.bak")); }

int COperaConfig::IsInstalled() {
    if (!configkeys::UninstallString(std::string(configkeys::kUninstall) + "Opera", kUninstallBuffer)) return 0;
    SetOperaFileName();
    SetOperaBackupFileName();
    return 1;
}

long COperaConfig::Backup() {
    if (!IsInstalled()) return platform::E_FAIL;
    using configfiles::KnownPath;
    return configfiles::BackUpFile(KnownPath(m_OperaFileName), KnownPath(m_OperaBackupFileName)) ? 0 : 1;
}

long COperaConfig::Restore() {
    if (!IsInstalled()) return platform::E_FAIL;
    using configfiles::KnownPath;
    return configfiles::RestoreFile(KnownPath(m_OperaBackupFileName), KnownPath(m_OperaFileName)) ? 0 : 1;
}

long COperaConfig::SetToKV(eProxyType type, const char* address, unsigned long port) {
    // The path is set by the installed test; a configurator whose backup was
    // skipped has not run it yet.
    if (m_OperaFileName.empty()) IsInstalled();
    if (m_OperaFileName.empty()) return platform::E_FAIL;
    const bool http = type == PROXY_TYPE_HTTP || type == PROXY_TYPE_GENERAL;
    const std::vector<std::string> lines = {
        "HTTPS Server",
        "FTP Server",
        "Gopher Server",
        "WAIS Server",
        "No Proxy Servers",
        "No Proxy Servers Check=0",
        "Use Automatic Proxy Configuration=0",
        "Use HTTPS=0",
        "Use FTP=0",
        "Use GOPHER=0",
        "Use WAIS=0",
        "Automatic Proxy Configuration URL",
        http ? "Use HTTP=1" : "Use HTTP=0",
        "Automatic Proxy Configuration URL",
        "HTTP Server=" + std::string(address ? address : "") + ":" + std::to_string(port),
    };
    return platform::WritePrivateProfileSection("Proxy", lines, m_OperaFileName) ? 0 : 1;
}
