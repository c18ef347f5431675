#include "settings/CYahooConfig.h"

#include "settings/CPrefsKeeper.h"
#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kClientKey = "Software\\Yahoo\\Pager";

std::string BackupKey() { return std::string(configkeys::kBackUp) + "\\Yahoo"; }

}  // namespace

configvalues::Table<CYahooConfig> CYahooConfig::Values() {
    static constexpr configvalues::Value<CYahooConfig> kValues[] = {
        {"HTTP Proxy", nullptr, &CYahooConfig::m_HTTPProxy},
        {"Proxy Enabled", &CYahooConfig::m_ProxyEnabled, nullptr},
        {"Socks Server", nullptr, &CYahooConfig::m_SocksServer},
        {"Proxy Port", &CYahooConfig::m_ProxyPort, nullptr},
        {"SOCKS Enabled", &CYahooConfig::m_SocksEnabled, nullptr},
        {"Socks Version", &CYahooConfig::m_SocksVersion, nullptr},
        {"Socks Port", &CYahooConfig::m_SocksPort, nullptr},
        {"Connection State", &CYahooConfig::m_ConnectionState, nullptr},
    };
    return kValues;
}

long CYahooConfig::SetToKV(eProxyType type, const char* address, unsigned long port) {
    if (!configvalues::FitsField(address)) return 1;
    platform::RegistryBatch batch;   // all of Yahoo's values change in one save
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return 1;
    const std::string host = address ? address : "";
    configvalues::Clear(*this, Values());
    m_ConnectionState = 2;
    switch (type) {
    case PROXY_TYPE_HTTP:
        m_ProxyEnabled = 1;
        m_HTTPProxy = host;
        m_ProxyPort = static_cast<platform::DWORD>(port);
        break;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_GENERAL:
    case PROXY_TYPE_SOCKS5:
        m_SocksEnabled = 1;
        m_SocksVersion = type == PROXY_TYPE_SOCKS5 ? 5 : 4;
        m_SocksPort = static_cast<platform::DWORD>(port);
        m_SocksServer = host;
        break;
    default:
        break;
    }
    configvalues::WriteOrDelete(key, *this, Values());
    return batch.Commit() == platform::ERROR_SUCCESS ? 0 : 1;
}

long CYahooConfig::Backup() { return configvalues::BackUpValues(kClientKey, BackupKey(), Values()) ? 0 : 1; }

long CYahooConfig::Restore() { return configvalues::RestoreValues(BackupKey(), kClientKey, Values()) ? 0 : 1; }

int CYahooConfig::IsInstalled() {
    return CPrefsKeeper::IsProgramInstalled(
        (std::string(configkeys::kUninstall) + "Yahoo! Messenger").c_str(), nullptr, nullptr);
}
