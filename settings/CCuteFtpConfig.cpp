#include "settings/CCuteFtpConfig.h"

#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kClientKey = "Software\\GlobalSCAPE\\CuteFTP 5.0\\CuteFTP";
constexpr const char* kInstalledKey = "Software\\GlobalSCAPE Inc.\\CuteFTP";
constexpr std::size_t kRestoreTextBuffer = 260;

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
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return platform::E_FAIL;
    const std::string host = address ? address : "";
    switch (type) {
    case PROXY_TYPE_HTTP:
        return Written(key.SetStringValue("FireHost", host)) && Written(key.SetDWORDValue("FirePort", port)) &&
                       Written(key.SetDWORDValue("FireType", 2))
                   ? 0
                   : 1;
    case PROXY_TYPE_SOCKS4:
    case PROXY_TYPE_SOCKS5:
        return Written(key.SetStringValue("SocksHost", host)) && Written(key.SetDWORDValue("SocksPort", port)) &&
                       Written(key.SetDWORDValue("SocksType", type == PROXY_TYPE_SOCKS4 ? 1 : 2))
                   ? 0
                   : 1;
    default:
        return 1;
    }
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

long CCuteFtpConfig::Backup() {
    configvalues::ClearAndRead(kClientKey, *this, Values());
    platform::RegKey backup;
    if (backup.Create(platform::HKEY_CURRENT_USER, BackupKey()) != platform::ERROR_SUCCESS) return 1;
    return configvalues::WriteAll(backup, *this, Values()) ? 0 : 1;
}

long CCuteFtpConfig::Restore() {
    platform::RegKey backup;
    if (backup.Open(platform::HKEY_CURRENT_USER, BackupKey(), platform::KEY_READ) != platform::ERROR_SUCCESS) return 0;
    configvalues::Clear(*this, Values());
    configvalues::Read(backup, *this, Values(), kRestoreTextBuffer);
    // Only a complete backup is put back: "FireType" is written by every
    // backup, so without it there is none.
    platform::DWORD fireType = 0;
    if (backup.QueryDWORDValue("FireType", fireType) != platform::ERROR_SUCCESS) return 0;
    platform::RegKey client;
    if (client.Open(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return 0;
    static constexpr configvalues::Value<CCuteFtpConfig> kRestoreOrder[] = {
        {"FireHost", nullptr, &CCuteFtpConfig::m_FireHost},
        {"FirePort", &CCuteFtpConfig::m_FirePort, nullptr},
        {"FireType", &CCuteFtpConfig::m_FireType, nullptr},
        {"SocksHost", nullptr, &CCuteFtpConfig::m_SocksHost},
        {"SocksPort", &CCuteFtpConfig::m_SocksPort, nullptr},
        {"SocksType", &CCuteFtpConfig::m_SocksType, nullptr},
    };
    configvalues::WriteAll(client, *this, configvalues::Table<CCuteFtpConfig>(kRestoreOrder));
    return 0;
}

int CCuteFtpConfig::IsInstalled() {
    platform::RegKey key;
    return key.Open(platform::HKEY_LOCAL_MACHINE, kInstalledKey, platform::KEY_READ) == platform::ERROR_SUCCESS ? 1 : 0;
}
