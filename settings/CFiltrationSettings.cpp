#include "settings/CFiltrationSettings.h"

namespace {
constexpr const char* kSubKey = "Filteration";
}  // namespace

void CFiltrationSettings::SetToMaximumProtection() {
    CInFiltration& in = mInFiltration;
    in.mEnable = 1;
    in.mBlockBannerAds = 1;
    in.mBlockScripts = 1;
    in.mBlockPopUps = 1;
    in.mBlockImages = 1;
    in.mBlockBannerFlash = 0;
    in.mIsBlockTitle = 0;

    COutFiltration& out = mOutFiltration;
    out.mEnable = out.mOsShield = out.mDisabledCookies = out.mEnableServerList = out.mBlockReferrer =
        out.mDisabledFileCache = 0;

    CAdvancedFiltration& adv = mAdvancedFiltration;
    adv.mDisableWndCloseupEvents = 1;
    adv.mRemoveContextMenu = 1;
    adv.mDisableTimerScripts = 0;
    adv.mRemoveStatusModifier = 0;
}

void CFiltrationSettings::SetToMediumProtection() {
    CInFiltration& in = mInFiltration;
    in.mEnable = 1;
    in.mBlockBannerAds = 1;
    in.mBlockScripts = 1;
    in.mBlockPopUps = 1;
    in.mBlockBannerFlash = 0;
    in.mBlockImages = 0;
    in.mIsBlockTitle = 0;

    COutFiltration& out = mOutFiltration;
    out.mEnable = out.mOsShield = out.mDisabledCookies = out.mEnableServerList = out.mBlockReferrer =
        out.mDisabledFileCache = 0;

    CAdvancedFiltration& adv = mAdvancedFiltration;
    adv.mDisableWndCloseupEvents = 1;
    adv.mDisableTimerScripts = 0;
    adv.mRemoveStatusModifier = 0;
    adv.mRemoveContextMenu = 0;
}

void CFiltrationSettings::SetToMinimumProtection() {
    CInFiltration& in = mInFiltration;
    in.mBlockPopUps = 1;
    in.mBlockBannerAds = 0;
    in.mBlockBannerFlash = 0;
    in.mBlockScripts = 0;
    in.mBlockImages = 0;
    in.mIsBlockTitle = 0;

    COutFiltration& out = mOutFiltration;
    out.mEnable = out.mOsShield = out.mDisabledCookies = out.mEnableServerList = out.mBlockReferrer =
        out.mDisabledFileCache = 0;

    CAdvancedFiltration& adv = mAdvancedFiltration;
    adv.mDisableTimerScripts = 0;
    adv.mDisableWndCloseupEvents = 0;
    adv.mRemoveStatusModifier = 0;
    adv.mRemoveContextMenu = 0;
}

bool CFiltrationSettings::SetRegistry(const platform::RegKey& root) const {
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    mInFiltration.SetRegistry(key);
    mOutFiltration.SetRegistry(key);
    mAdvancedFiltration.SetRegistry(key);
    return true;
}

bool CFiltrationSettings::QueryRegistry(const platform::RegKey& root) {
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    mInFiltration.QueryRegistry(key);
    mAdvancedFiltration.QueryRegistry(key);
    mOutFiltration.QueryRegistry(key);
    return true;
}

void CFiltrationSettings::LoadDefaultLists() {
    mInFiltration.mBanners.LoadDefaultLists();
    mOutFiltration.LoadDefaultLists();
}
