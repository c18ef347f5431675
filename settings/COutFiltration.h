#pragma once
// The outgoing (request) filter switches and the server stop list.

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Registry.h"
#include "platform/Types.h"

class COutFiltration {
public:
    int IsEnable() const { return static_cast<int>(mEnable); }
    int IsOsShield() const { return static_cast<int>(mOsShield); }
    int IsDiabledCookies() const { return static_cast<int>(mDisabledCookies); }
    int IsEnableServerList() const { return static_cast<int>(mEnableServerList); }
    int IsBlockReferrer() const { return static_cast<int>(mBlockReferrer); }
    int IsDisabledFileCache() const { return static_cast<int>(mDisabledFileCache); }

    void SetEnable(int value) { mEnable = static_cast<platform::DWORD>(value); }
    void SetOsShield(int value) { mOsShield = static_cast<platform::DWORD>(value); }
    void SetDiabledCookies(int value) { mDisabledCookies = static_cast<platform::DWORD>(value); }
    void SetEnableServerList(int value) { mEnableServerList = static_cast<platform::DWORD>(value); }
    void SetBlockReferrer(int value) { mBlockReferrer = static_cast<platform::DWORD>(value); }
    void SetDisabledFileCache(int value) { mDisabledFileCache = static_cast<platform::DWORD>(value); }

    std::vector<std::string>& GetServerStopList() { return mServerStopList; }
    const std::vector<std::string>& GetServerStopList() const { return mServerStopList; }
    void SetServerStopList(const std::vector<std::string>& list) { mServerStopList = list; }

    // filterationKey is root\Filteration; the values live in "Outgoing".
    // Reading stores each flag as 0 or 1 and falls back to the default stop
    // list file when the stored list has no entries.
    bool SetRegistry(const platform::RegKey& filterationKey) const;
    bool QueryRegistry(const platform::RegKey& filterationKey);

    // Fills the stop list from its default file when it is empty (first run).
    void LoadDefaultLists();

    platform::DWORD mEnable = 0;             // _ENABLE
    platform::DWORD mOsShield = 0;           // _OSSHIELD
    platform::DWORD mDisabledCookies = 0;    // _DISABLE_COOKIES
    platform::DWORD mEnableServerList = 0;   // _ENABLE_SERVER_LIST
    platform::DWORD mBlockReferrer = 0;      // _BLOCK_RFERR
    platform::DWORD mDisabledFileCache = 0;  // _DISABLE_FILE_CACHE
    std::vector<std::string> mServerStopList;  // ServerStopList, "ServerStopList.txt"
};

static_assert(std::is_standard_layout_v<COutFiltration>);
static_assert(offsetof(COutFiltration, mEnable) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(COutFiltration, mDisabledFileCache) == 5 * sizeof(platform::DWORD));
static_assert(offsetof(COutFiltration, mServerStopList) >= 6 * sizeof(platform::DWORD));
