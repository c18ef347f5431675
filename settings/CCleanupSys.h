#pragma once
// Which system traces the cleaner removes.

#include <cstddef>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CCleanupSys {
public:
    bool getSysAll() const { return mAll != 0; }
    bool getRun() const { return mRun != 0; }
    bool getFindComp() const { return mFindComp != 0; }
    bool getFindFile() const { return mFindFile != 0; }
    bool getTelnet() const { return mTelnet != 0; }
    bool getLogin() const { return mLogin != 0; }
    bool getNetwork() const { return mNetwork != 0; }
    bool getRecycle() const { return mRecycle != 0; }
    bool getTemp() const { return mTemp != 0; }
    bool getRecent() const { return mRecent != 0; }

    void setSysAll(platform::DWORD value) { mAll = value; }
    void setRun(platform::DWORD value) { mRun = value; }
    void setFindComp(platform::DWORD value) { mFindComp = value; }
    void setFindFile(platform::DWORD value) { mFindFile = value; }
    void setTelnet(platform::DWORD value) { mTelnet = value; }
    void setLogin(platform::DWORD value) { mLogin = value; }
    void setNetwork(platform::DWORD value) { mNetwork = value; }
    void setRecycle(platform::DWORD value) { mRecycle = value; }
    void setTemp(platform::DWORD value) { mTemp = value; }
    void setRecent(platform::DWORD value) { mRecent = value; }

    void Clear();
    void SetToPersonalDefaults();

    // cleanupKey is the Cleanup key; the values live in its "System" subkey.
    bool SetRegistry(const platform::RegKey& cleanupKey) const;
    bool QueryRegistry(const platform::RegKey& cleanupKey);

    platform::DWORD mAll = 0;       // _ALL
    platform::DWORD mRun = 0;       // _RUN
    platform::DWORD mFindComp = 0;  // _FIND_COMP
    platform::DWORD mFindFile = 0;  // _FIND_FILE
    platform::DWORD mTelnet = 0;    // _TELNET
    platform::DWORD mLogin = 0;     // _LOGIN
    platform::DWORD mNetwork = 0;   // _NETWORK
    platform::DWORD mRecycle = 0;   // _RECYCLE
    platform::DWORD mTemp = 0;      // _TEMP
    platform::DWORD mRecent = 0;    // _RECENT
};

static_assert(std::is_standard_layout_v<CCleanupSys>);
static_assert(offsetof(CCleanupSys, mAll) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CCleanupSys, mRecent) == 9 * sizeof(platform::DWORD));
static_assert(sizeof(CCleanupSys) == 10 * sizeof(platform::DWORD));
