#include "settings/CInFiltration.h"

#include "settings/CRegHelper.h"
#include "settings/RegValues.h"
#include "settings/TextLimits.h"

namespace {

constexpr const char* kSubKey = "Incoming";
constexpr const char* kTitleValue = "_BLOCK_STR_TITLE";

constexpr regvalues::DwordValue<CInFiltration> kValues[] = {
    {"_ENABLE", &CInFiltration::mEnable},
    {"_BLOCK_BANNER_ADS", &CInFiltration::mBlockBannerAds},
    {"_BLOCK_BANNER_FLASH", &CInFiltration::mBlockBannerFlash},
    {"_BLOCK_SCRIPT", &CInFiltration::mBlockScripts},
    {"_BLOCK_POPUPS", &CInFiltration::mBlockPopUps},
    {"_BLOCK_IMAGES", &CInFiltration::mBlockImages},
    {"_BLOCK_TITLE", &CInFiltration::mIsBlockTitle},
};

// Left under Incoming by earlier writers; read, never written.
constexpr const char* kTimerValue = "_DISABLE_TIMER_SCRIPTS";

}  // namespace

bool CInFiltration::SetRegistry(const platform::RegKey& filterationKey) const {
    platform::RegKey key;
    if (key.Create(filterationKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    key.SetStringValue(kTitleValue, mBlockTitle);
    mBanners.SetRegistry(key);
    return true;
}

bool CInFiltration::QueryRegistry(const platform::RegKey& filterationKey) {
    platform::RegKey key;
    if (key.Create(filterationKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::ReadDWORDs(key, *this, kValues);
    regvalues::ReadDWORD(key, kTimerValue, mTimerBasedProcessingBlock);
    CRegHelper::utl_QueryStringValue(key, kTitleValue, mBlockTitle, textlimits::kTitle);
    mBanners.QueryRegistry(key);
    return true;
}
