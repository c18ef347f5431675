#include "settings/CMSNConfig.h"

#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kClientKey = "Software\\Microsoft\\MSNMessenger";

std::string BackupKey() { return std::string(configkeys::kBackUp) + "\\MSN"; }

}  // namespace

configvalues::Table<CMSNConfig> CMSNConfig::Values() {
    static constexpr configvalues::Value<CMSNConfig> kValues[] = {
        {"ProxyState", &CMSNConfig::m_ProxyState, nullptr},
        {"ProxyType", &CMSNConfig::m_ProxyType, nullptr},
        {"HTTPPort", &CMSNConfig::m_HTTPPort, nullptr},
        {"SOCKS4Port", &CMSNConfig::m_SOCKS4Port, nullptr},
        {"SOCKS5Port", &CMSNConfig::m_SOCKS5Port, nullptr},
        {"HTTPProxy", nullptr, &CMSNConfig::m_HTTPProxy},
        {"SOCKS5Server", nullptr, &CMSNConfig::m_SOCKS5Server},
        {"SOCKS4Server", nullptr, &CMSNConfig::m_SOCKS4Server},
    };
    return kValues;
}

long CMSNConfig::SetToKV(eProxyType type, const char* address, unsigned long port) {
    if (!configvalues::FitsField(address)) return 1;
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return -1;
    const std::string host = address ? address : "";
    configvalues::Clear(*this, Values());
    m_ProxyState = 1;
    switch (type) {
    case PROXY_TYPE_HTTP:
        m_HTTPProxy = host;
        m_HTTPPort = static_cast<platform::DWORD>(port);
        m_ProxyType = 4;
        break;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_GENERAL:
        m_SOCKS4Server = host;
        m_SOCKS4Port = static_cast<platform::DWORD>(port);
        m_ProxyType = 1;
        break;
    case PROXY_TYPE_SOCKS5:
        m_SOCKS5Server = host;
        m_SOCKS5Port = static_cast<platform::DWORD>(port);
        m_ProxyType = 2;
        break;
    default:
        break;
    }
    configvalues::WriteOrDelete(key, *this, Values());
    return 0;
}

long CMSNConfig::Backup() {
    configvalues::ClearAndRead(kClientKey, *this, Values());
    platform::RegKey backup;
    if (backup.Create(platform::HKEY_CURRENT_USER, BackupKey()) != platform::ERROR_SUCCESS) return -1;
    configvalues::WriteOrDelete(backup, *this, Values());
    return 0;
}

long CMSNConfig::Restore() {
    configvalues::ClearAndRead(BackupKey(), *this, Values());
    platform::RegKey client;
    if (client.Create(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return -1;
    m_ProxyState = 0;
    configvalues::WriteOrDelete(client, *this, Values());
    return 0;
}

int CMSNConfig::IsInstalled() {
    platform::RegKey client;
    if (client.Open(platform::HKEY_CURRENT_USER, kClientKey, platform::KEY_READ) != platform::ERROR_SUCCESS) return 0;
    platform::DWORD type = 0;
    platform::DWORD size = 0;
    return client.QueryValue("AlwaysOnTop", &type, nullptr, &size) == platform::ERROR_SUCCESS &&
                   type == platform::REG_BINARY
               ? 1
               : 0;
}
