#include "settings/CNetscapeConfig.h"

#include <string_view>

#include "platform/Root.h"
#include "platform/SafeFile.h"
#include "settings/ConfigFiles.h"
#include "settings/ConfigKeys.h"

namespace {

constexpr std::string_view kProxyLine = "user_pref(\"network.proxy";
constexpr const char* kUninstallKeys[] = {"Netscape (7.0)", "Netscape (7.1)"};
constexpr std::size_t kUninstallBuffer = 259;

std::string Pref(std::string_view name, std::string_view value) {
    return "user_pref(\"network.proxy." + std::string(name) + "\", " + std::string(value) + ");\r\n";
}

std::string Quoted(const char* text) { return "\"" + std::string(text ? text : "") + "\""; }

// prefs.js with the proxy lines replaced by block: the first proxy line
// becomes the block, later ones go; without any, the block is appended.
std::string ReplaceProxyLines(std::string_view prefs, std::string_view block) {
    std::string out;
    bool placed = false;
    std::size_t pos = 0;
    while (pos < prefs.size()) {
        const std::size_t nl = prefs.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? prefs.size() : nl + 1;
        const std::string_view line = prefs.substr(pos, end - pos);
        pos = end;
        if (line.find(kProxyLine) == std::string_view::npos) {
            out += line;
        } else if (!placed) {
            out += block;
            placed = true;
        }
    }
    if (!placed) {
        if (!out.empty() && out.back() != '\n') out += "\r\n";
        out += block;
    }
    return out;
}

}  // namespace

void CNetscapeConfig::WriteProxyConfSection(std::string& out, eProxyType type, const char* address,
                                            unsigned long port) {
    out += Pref("type", "1");
    out += Pref("no_proxies_on", Quoted("127.0.0.1"));
    switch (type) {
    case PROXY_TYPE_HTTP:
        out += Pref("http", Quoted(address));
        out += Pref("http_port", std::to_string(port));
        break;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_SOCKS5:
    case PROXY_TYPE_GENERAL:
        out += Pref("socks", Quoted(address));
        out += Pref("socks_port", std::to_string(port));
        out += Pref("socks_version", type == PROXY_TYPE_SOCKS5 ? "5" : "4");
        break;
    default:
        break;
    }
}

int CNetscapeConfig::IsInstalled() {
    for (const char* name : kUninstallKeys) {
        if (configkeys::UninstallString(std::string(configkeys::kUninstall) + name, kUninstallBuffer)) {
            SetJSFileName();
            return 1;
        }
    }
    return 0;
}

void CNetscapeConfig::SetJSFileName() {
    if (!m_JSFileName.empty()) return;
    const auto folder = configfiles::ShellFile(platform::CSIDL_APPDATA, "Mozilla\\Profiles\\default");
    if (folder) SearchFolder(folder->string(), "prefs.js", m_JSFileName);
}

void CNetscapeConfig::SetBkupFileName() {
    const auto backup = configfiles::BackupFile("prefs.js");
    m_BkupFileName = backup ? backup->string() : std::string();
}

long CNetscapeConfig::SetToKV(eProxyType type, const char* address, unsigned long port) {
    if (!IsInstalled()) return platform::E_FAIL;
    if (m_JSFileName.empty()) return 1;
    std::string block;
    WriteProxyConfSection(block, type, address, port);
    // A prefs.js that is there but cannot be read is left alone: the block
    // alone in its place would lose every other preference.
    const platform::FileContents prefs = platform::ReadFileIfPresent(m_JSFileName);
    if (prefs.state == platform::FileContents::State::Unreadable) return 1;
    return platform::WriteFileAtomic(m_JSFileName, ReplaceProxyLines(prefs.bytes, block)) ? 0 : 1;
}

long CNetscapeConfig::Backup() {
    SetBkupFileName();
    SetJSFileName();
    using configfiles::KnownPath;
    return configfiles::BackUpFile(KnownPath(m_JSFileName), KnownPath(m_BkupFileName)) ? 0 : 1;
}

long CNetscapeConfig::Restore() {
    SetBkupFileName();
    SetJSFileName();
    using configfiles::KnownPath;
    return configfiles::RestoreFile(KnownPath(m_BkupFileName), KnownPath(m_JSFileName)) ? 0 : 1;
}
