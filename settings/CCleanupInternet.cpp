#include "settings/CCleanupInternet.h"

#include "settings/RegValues.h"

namespace {

constexpr const char* kSubKey = "Internet";

constexpr regvalues::DwordValue<CCleanupInternet> kValues[] = {
    {"_ALL", &CCleanupInternet::mAll},
    {"_AUTO_FORMS", &CCleanupInternet::mAutoForms},
    {"_AUTO_PASS", &CCleanupInternet::mAutoPass},
    {"_COOKIE", &CCleanupInternet::mCookies},
    {"_FAVOURITES", &CCleanupInternet::mFavourites},
    {"_HISTORY", &CCleanupInternet::mHistory},
    {"_TEMP_FILES", &CCleanupInternet::mTempFiles},
    {"_URLS", &CCleanupInternet::mURLs},
};

}  // namespace

void CCleanupInternet::Clear() {
    for (const auto& row : kValues) this->*(row.field) = 0;
}

void CCleanupInternet::SetToPersonalDefaults() {
    mAll = 0;
    mAutoForms = 0;
    mAutoPass = 0;
    mCookies = 1;
    mHistory = 1;
    mFavourites = 1;
    mTempFiles = 1;
    mURLs = 1;
}

bool CCleanupInternet::SetRegistry(const platform::RegKey& cleanupKey) const {
    platform::RegKey key;
    if (key.Create(cleanupKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    return true;
}

bool CCleanupInternet::QueryRegistry(const platform::RegKey& cleanupKey) {
    platform::RegKey key;
    if (key.Open(cleanupKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::ReadDWORDs(key, *this, kValues);
    return true;
}
