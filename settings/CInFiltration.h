#pragma once
// The incoming (response) filter switches.

#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"
#include "settings/CFiltrationBanners.h"

class CInFiltration {
public:
    bool getEnable() const { return mEnable != 0; }
    bool getBlockBannerAdds() const { return mBlockBannerAds != 0; }
    bool getBlockBannerFlash() const { return mBlockBannerFlash != 0; }
    bool getBlockScripts() const { return mBlockScripts != 0; }
    bool getBlockPopUps() const { return mBlockPopUps != 0; }
    bool getBlockImages() const { return mBlockImages != 0; }
    bool getIsBlockTitle() const { return mIsBlockTitle != 0; }
    bool getTimerBasedProcessingBlock() const { return mTimerBasedProcessingBlock != 0; }
    // Valid while this object lives unchanged.
    const char* getBlockTitle() const { return mBlockTitle.c_str(); }

    void setEnable(bool on) { mEnable = on; }
    void setBlockBannerAdds(bool on) { mBlockBannerAds = on; }
    void setBlockBannerFlash(bool on) { mBlockBannerFlash = on; }
    void setBlockScripts(bool on) { mBlockScripts = on; }
    void setBlockPopUps(bool on) { mBlockPopUps = on; }
    void setBlockImages(bool on) { mBlockImages = on; }
    void setIsBlockTitle(bool on) { mIsBlockTitle = on; }
    void setBlockTitle(const char* title) { mBlockTitle = title ? title : ""; }

    // filterationKey is root\Filteration; the values live in "Incoming".
    // mTimerBasedProcessingBlock is read there but never written.
    bool SetRegistry(const platform::RegKey& filterationKey) const;
    bool QueryRegistry(const platform::RegKey& filterationKey);

    platform::DWORD mEnable = 0;                     // _ENABLE
    platform::DWORD mBlockBannerAds = 0;             // _BLOCK_BANNER_ADS
    platform::DWORD mBlockBannerFlash = 0;           // _BLOCK_BANNER_FLASH
    platform::DWORD mBlockScripts = 0;               // _BLOCK_SCRIPT
    platform::DWORD mBlockPopUps = 0;                // _BLOCK_POPUPS
    platform::DWORD mBlockImages = 0;                // _BLOCK_IMAGES
    platform::DWORD mIsBlockTitle = 0;               // _BLOCK_TITLE
    platform::DWORD mTimerBasedProcessingBlock = 0;  // _DISABLE_TIMER_SCRIPTS (read only)
    std::string mBlockTitle;                         // _BLOCK_STR_TITLE
    CFiltrationBanners mBanners;                     // subkey Banners
};

static_assert(std::is_standard_layout_v<CInFiltration>);
static_assert(offsetof(CInFiltration, mEnable) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CInFiltration, mTimerBasedProcessingBlock) == 7 * sizeof(platform::DWORD));
static_assert(offsetof(CInFiltration, mBlockTitle) >= 8 * sizeof(platform::DWORD));
static_assert(offsetof(CInFiltration, mBanners) > offsetof(CInFiltration, mBlockTitle));
