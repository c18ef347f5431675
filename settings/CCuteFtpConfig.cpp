#include "settings/CCuteFtpConfig.h"

#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kClientKey = "Software\\GlobalSCAPE\\CuteFTP 5.0\\CuteFTP";
constexpr const char* kInstalledKey = "Software\\GlobalSCAPE Inc.\\CuteFTP";

std::string BackupKey() { return std::string(configkeys::kBackUp) + "\\CuteFtp"; }

bool Written(platform::LONG result) { return result == platform::ERROR_SUCCESS; }

}  // namespace

configvalues::Table<CCuteFtpConfig> CCuteFtpConfig::Values() {
    static constexpr configvalues::Value<CCuteFtpConfig> kValues[] = {
        {"FireHost", nullptr, &CCuteFtpConfig::m_FireHost},
        {"FirePort", &CCuteFtpConfig::m_FirePort, nullptr},
        {"FireType", &CCuteFtpConfig::m_FireType, nullptr},
        {"SocksHost", nullptr, &CCuteFtpConfig::m_SocksHost},
        {"SocksType", &CCuteFtpConfig::m_SocksType, nullptr},
        {"SocksPort", &CCuteFtpConfig::m_SocksPort, nullptr},
    };
    return kValues;
}

long CCuteFtpConfig::SetToKV(const char* address, unsigned int port, eProxyType type) {
    if (!configvalues::FitsField(address)) return 1;
    platform::RegistryBatch batch;   // the three values change in one save
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return platform::E_FAIL;
    const std::string host = address ? address : "";
    bool written = false;
    switch (type) {
    case PROXY_TYPE_HTTP:
        written = Written(key.SetStringValue("FireHost", host)) && Written(key.SetDWORDValue("FirePort", port)) &&
                  Written(key.SetDWORDValue("FireType", 2));
        break;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_SOCKS5:
        written = Written(key.SetStringValue("SocksHost", host)) && Written(key.SetDWORDValue("SocksPort", port)) &&
                  Written(key.SetDWORDValue("SocksType", type == PROXY_TYPE_SOCKS4 ? 1 : 2));
        break;
    default:
        break;
    }
    return Written(batch.Commit()) && written ? 0 : 1;
}

long CCuteFtpConfig::SetToKV(std::string& host, unsigned long& port, eProxyType& type) {
    platform::RegKey client;
    if (client.Open(platform::HKEY_CURRENT_USER, kClientKey, platform::KEY_READ) != platform::ERROR_SUCCESS) return 1;
    std::string fireHost;
    platform::DWORD firePort = 0;
    platform::DWORD fireType = 0;
    const bool read = client.QueryStringValue("FireHost", fireHost) == platform::ERROR_SUCCESS &&
                      fireHost.size() < configvalues::kReadBuffer &&
                      client.QueryDWORDValue("FirePort", firePort) == platform::ERROR_SUCCESS &&
                      client.QueryDWORDValue("FireType", fireType) == platform::ERROR_SUCCESS;
    if (!read) return 1;
    if (fireType == PROXY_TYPE_GENERAL) fireType = PROXY_TYPE_SOCKS4;
    host = fireHost;
    port = firePort;
    type = static_cast<eProxyType>(fireType);

    platform::RegKey backup;
    if (backup.Create(platform::HKEY_CURRENT_USER, BackupKey()) != platform::ERROR_SUCCESS) return 1;
    backup.SetStringValue("cuteFireHost", fireHost);
    backup.SetDWORDValue("CuteFirePort", firePort);
    return Written(backup.SetDWORDValue("CuteFireType", fireType)) ? 0 : 1;
}

long CCuteFtpConfig::Backup() { return configvalues::BackUpValues(kClientKey, BackupKey(), Values()) ? 0 : 1; }

long CCuteFtpConfig::Restore() { return configvalues::RestoreValues(BackupKey(), kClientKey, Values()) ? 0 : 1; }

int CCuteFtpConfig::IsInstalled() {
    platform::RegKey key;
    return key.Open(platform::HKEY_LOCAL_MACHINE, kInstalledKey, platform::KEY_READ) == platform::ERROR_SUCCESS ? 1 : 0;
}
