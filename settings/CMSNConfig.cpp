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
    platform::RegistryBatch batch;   // all of MSN's values change in one save
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
    return batch.Commit() == platform::ERROR_SUCCESS ? 0 : 1;
}

long CMSNConfig::Backup() { return configvalues::BackUpValues(kClientKey, BackupKey(), Values()) ? 0 : -1; }

long CMSNConfig::Restore() { return configvalues::RestoreValues(BackupKey(), kClientKey, Values()) ? 0 : -1; }

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
