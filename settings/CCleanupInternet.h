#pragma once
// Which browser traces the cleaner removes.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CCleanupInternet {
public:
    bool getIEAll() const { return mAll != 0; }
    bool getAutoForms() const { return mAutoForms != 0; }
    bool getAutoPass() const { return mAutoPass != 0; }
    bool getCookies() const { return mCookies != 0; }
    bool getFavourites() const { return mFavourites != 0; }
    bool getHistory() const { return mHistory != 0; }
    bool getTempFiles() const { return mTempFiles != 0; }
    bool getURLs() const { return mURLs != 0; }

    void setIEAll(platform::DWORD value) { mAll = value; }
    void setAutoForms(std::uint16_t value) { mAutoForms = value; }
    void setAutoPass(std::uint16_t value) { mAutoPass = value; }
    void setCookies(std::uint16_t value) { mCookies = value; }
    void setFavourites(std::uint16_t value) { mFavourites = value; }
    void setHistory(std::uint16_t value) { mHistory = value; }
    void setTempFiles(std::uint16_t value) { mTempFiles = value; }
    void setURLs(std::uint16_t value) { mURLs = value; }

    void Clear();
    void SetToPersonalDefaults();

    // cleanupKey is the Cleanup key; the values live in its "Internet" subkey.
    bool SetRegistry(const platform::RegKey& cleanupKey) const;
    bool QueryRegistry(const platform::RegKey& cleanupKey);

    platform::DWORD mAll = 0;         // _ALL
    platform::DWORD mAutoForms = 0;   // _AUTO_FORMS
    platform::DWORD mAutoPass = 0;    // _AUTO_PASS
    platform::DWORD mCookies = 0;     // _COOKIE
    platform::DWORD mFavourites = 0;  // _FAVOURITES
    platform::DWORD mHistory = 0;     // _HISTORY
    platform::DWORD mTempFiles = 0;   // _TEMP_FILES
    platform::DWORD mURLs = 0;        // _URLS
};

static_assert(std::is_standard_layout_v<CCleanupInternet>);
static_assert(offsetof(CCleanupInternet, mAll) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CCleanupInternet, mURLs) == 7 * sizeof(platform::DWORD));
static_assert(sizeof(CCleanupInternet) == 8 * sizeof(platform::DWORD));
