#include "settings/CKAZAAConfig.h"

#include "settings/ConfigKeys.h"

namespace {

constexpr const char* kClientKey = "Software\\Kazaa\\Socks";
constexpr const char* kInstalledKey = "Software\\Kazaa";

std::string BackupKey() { return std::string(configkeys::kBackUp) + "\\Kazaa"; }

}  // namespace

configvalues::Table<CKAZAAConfig> CKAZAAConfig::Values() {
    static constexpr configvalues::Value<CKAZAAConfig> kValues[] = {
        {"Enabled", &CKAZAAConfig::m_Enabled, nullptr},
        {"UseAuthentication", &CKAZAAConfig::m_UseAuthentication, nullptr},
        {"ServerPort", &CKAZAAConfig::m_ServerPort, nullptr},
        {"ServerAddress", nullptr, &CKAZAAConfig::m_ServerAddress},
        {"UserName", nullptr, &CKAZAAConfig::m_UserName},
        {"Password", nullptr, &CKAZAAConfig::m_Password},
    };
    return kValues;
}

long CKAZAAConfig::SetToKV(eProxyType type, const char* address, unsigned long port, const char* userName,
                           const char* password) {
    if (!configvalues::FitsField(address) || !configvalues::FitsField(userName) ||
        !configvalues::FitsField(password)) {
        return 1;
    }
    configvalues::Clear(*this, Values());
    platform::RegistryBatch batch;   // all of Kazaa's values change in one save
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, kClientKey) != platform::ERROR_SUCCESS) return -1;
    if (type == PROXY_TYPE_SOCKS5 || type == PROXY_TYPE_GENERAL) {
        m_Enabled = 1;
        m_ServerPort = static_cast<platform::DWORD>(port);
        m_ServerAddress = address ? address : "";
        m_UserName = userName ? userName : "";
        m_Password = password ? password : "";
    }
    configvalues::WriteOrDelete(key, *this, Values());
    return batch.Commit() == platform::ERROR_SUCCESS ? 0 : 1;
}

long CKAZAAConfig::Backup() { return configvalues::BackUpValues(kClientKey, BackupKey(), Values()) ? 0 : -1; }

long CKAZAAConfig::Restore() { return configvalues::RestoreValues(BackupKey(), kClientKey, Values()) ? 0 : -1; }

int CKAZAAConfig::IsInstalled() {
    platform::RegKey key;
    return key.Open(platform::HKEY_LOCAL_MACHINE, kInstalledKey, platform::KEY_READ) == platform::ERROR_SUCCESS ? 1 : 0;
}
