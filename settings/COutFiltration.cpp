#include "settings/COutFiltration.h"

#include "settings/CRegHelper.h"
#include "settings/RegValues.h"

namespace {

constexpr const char* kSubKey = "Outgoing";
constexpr const char* kStopList = "ServerStopList";
constexpr const char* kStopFile = "ServerStopList.txt";

constexpr regvalues::DwordValue<COutFiltration> kValues[] = {
    {"_ENABLE", &COutFiltration::mEnable},
    {"_OSSHIELD", &COutFiltration::mOsShield},
    {"_DISABLE_COOKIES", &COutFiltration::mDisabledCookies},
    {"_ENABLE_SERVER_LIST", &COutFiltration::mEnableServerList},
    {"_BLOCK_RFERR", &COutFiltration::mBlockReferrer},
    {"_DISABLE_FILE_CACHE", &COutFiltration::mDisabledFileCache},
};

}  // namespace

bool COutFiltration::SetRegistry(const platform::RegKey& filterationKey) const {
    platform::RegKey key;
    if (key.Create(filterationKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    key.RecurseDeleteKey(kStopList);
    CRegHelper::setStringArrayRegistry(key, kStopList, mServerStopList);
    return true;
}

bool COutFiltration::QueryRegistry(const platform::RegKey& filterationKey) {
    platform::RegKey key;
    if (key.Create(filterationKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    for (const auto& row : kValues) {
        platform::DWORD value = 0;
        if (key.QueryDWORDValue(row.name, value) == platform::ERROR_SUCCESS) {
            this->*(row.field) = value != 0 ? 1 : 0;
        }
    }
    CRegHelper::getStringArrayRegistry(key, kStopList, mServerStopList, kStopFile);
    return true;
}

void COutFiltration::LoadDefaultLists() {
    if (mServerStopList.empty()) mServerStopList = CRegHelper::ReadListFile(kStopFile);
}
