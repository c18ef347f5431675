#include "settings/CMircConfig.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "settings/CPrefsKeeper.h"
#include "settings/ConfigFiles.h"
#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kMarker = "mIRC";

// mIRC's folder as its uninstall entry gives it: the uninstall string up to
// and including the first "mIRC", without the opening quote of a quoted
// program path. Nothing when the entry or the marker is missing.
std::optional<std::string> MircFolder(const char* program) {
    std::string path;
    if (!CPrefsKeeper::IsProgramInstalled((std::string(configkeys::kUninstall) + program).c_str(), kMarker, &path)) {
        return std::nullopt;
    }
    if (path.find(kMarker) == std::string::npos) return std::nullopt;
    if (!path.empty() && path.front() == '"') path.erase(0, 1);
    return path;
}

std::optional<std::filesystem::path> MircIni(const char* program) {
    const auto folder = MircFolder(program);
    if (!folder) return std::nullopt;
    return configfiles::FileBelowWindowsPath(*folder, "mirc.ini");
}

}  // namespace

int CMircConfig::IsInstalled() { return MircFolder("Mirc") ? 1 : 0; }

long CMircConfig::SetToKV(eProxyType type, int, const char*, unsigned int port, const char*) {
    const auto ini = MircIni("Mirc");
    if (!ini) return 1;
    std::vector<std::string> lines = {"enabled=yes", "port=" + std::to_string(port)};
    switch (type) {
    case PROXY_TYPE_HTTP: lines.emplace_back("method=proxy"); break;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_GENERAL: lines.emplace_back("method=4"); break;
    case PROXY_TYPE_SOCKS5: lines.emplace_back("method=5"); break;
    default: break;
    }
    lines.emplace_back("dccs=no");
    lines.emplace_back("useip=yes");
    return platform::WritePrivateProfileSection("socks", lines, *ini) ? 0 : 1;
}

long CMircConfig::Backup() {
    const auto ini = MircIni("mIRC");
    if (!ini) return 0;
    return configfiles::BackUpFile(ini, configfiles::BackupFile("mirc.ini")) ? 0 : 1;
}

long CMircConfig::Restore() {
    const auto ini = MircIni("mIRC");
    if (!ini) return 0;
    return configfiles::RestoreFile(configfiles::BackupFile("mirc.ini"), ini) ? 0 : 1;
}
