#include "settings/CCleanupSys.h"

#include "settings/RegValues.h"

namespace {

constexpr const char* kSubKey = "System";

constexpr regvalues::DwordValue<CCleanupSys> kValues[] = {
    {"_ALL", &CCleanupSys::mAll},
    {"_RUN", &CCleanupSys::mRun},
    {"_FIND_COMP", &CCleanupSys::mFindComp},
    {"_FIND_FILE", &CCleanupSys::mFindFile},
    {"_TELNET", &CCleanupSys::mTelnet},
    {"_LOGIN", &CCleanupSys::mLogin},
    {"_NETWORK", &CCleanupSys::mNetwork},
    {"_RECYCLE", &CCleanupSys::mRecycle},
    {"_TEMP", &CCleanupSys::mTemp},
    {"_RECENT", &CCleanupSys::mRecent},
};

}  // namespace

void CCleanupSys::Clear() {
    for (const auto& row : kValues) this->*(row.field) = 0;
}

void CCleanupSys::SetToPersonalDefaults() {
    mAll = 0;
    mNetwork = 0;
    mTemp = 0;
    mRecent = 0;
    mRun = 1;
    mFindComp = 1;
    mFindFile = 1;
    mTelnet = 1;
    mLogin = 1;
    mRecycle = 1;
}

bool CCleanupSys::SetRegistry(const platform::RegKey& cleanupKey) const {
    platform::RegKey key;
    if (key.Create(cleanupKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    return true;
}

bool CCleanupSys::QueryRegistry(const platform::RegKey& cleanupKey) {
    platform::RegKey key;
    if (key.Open(cleanupKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::ReadDWORDs(key, *this, kValues);
    return true;
}
