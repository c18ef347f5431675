#pragma once
// The general section: the starting address and port, the firewall proxy,
// balloon tips and the protection level chosen in the control panel.

#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CGnrlSettings {
public:
    bool getBehindFireWall() const { return mBehindFireWall != 0; }
    platform::DWORD getFireWallType() const { return mFireWallType; }
    platform::DWORD getFireWallPort() const { return mFireWallPort; }
    platform::DWORD getStartingPort() const { return mStartingPort; }
    platform::DWORD getIsBallonShow() const { return mIsBallonShow; }
    platform::DWORD getProtectionLevel() const { return mProtectionLevel; }
    const char* getFireWallIP() const { return mFireWallIP.c_str(); }
    const char* getStartingIP() const { return mStartingIP.c_str(); }

    void setBehindFireWall(bool on) { mBehindFireWall = on; }
    void setFireWallType(platform::DWORD value) { mFireWallType = value; }
    void setFireWallPort(platform::DWORD value) { mFireWallPort = value; }
    void setStartingPort(platform::DWORD value) { mStartingPort = value; }
    void setIsBallonShow(platform::DWORD value) { mIsBallonShow = value; }
    void setProtectionLevel(platform::DWORD value) { mProtectionLevel = value; }
    void setFireWallIP(const char* address) { mFireWallIP = address ? address : ""; }
    void setStartingIP(const char* address) { mStartingIP = address ? address : ""; }

    // One preset for every level: balloon tips on.
    void SetToMaximumProtection();
    void SetToMediumProtection();
    void SetToMinimumProtection();

    // Both force the starting port into 80..10000 (8060 otherwise). Reading
    // throws bool when the General key or one of its numbers is missing.
    bool SetRegistry(const platform::RegKey& root);
    bool QueryRegistry(const platform::RegKey& root);

    platform::DWORD mBehindFireWall = 0;   // _BEHIND_FIRE_WALL
    platform::DWORD mFireWallType = 0;     // _FIRE_WALL_TYPE (an eProxyType)
    platform::DWORD mFireWallPort = 0;     // _FIRE_WALL_PORT
    std::string mFireWallIP;               // _FIRE_WALL_IP
    platform::DWORD mStartingPort = 8060;  // _STARTING_PORT
    platform::DWORD mIsBallonShow = 0;     // _BALLON_SHOW
    platform::DWORD mProtectionLevel = 0;  // _PROTECTION_LEVEL: 1 max, 2 medium, 3 min, 4 custom
    std::string mStartingIP;               // _STARTING_IP
};

static_assert(std::is_standard_layout_v<CGnrlSettings>);
static_assert(offsetof(CGnrlSettings, mFireWallPort) == 2 * sizeof(platform::DWORD));
static_assert(offsetof(CGnrlSettings, mStartingPort) > offsetof(CGnrlSettings, mFireWallIP));
static_assert(offsetof(CGnrlSettings, mStartingIP) > offsetof(CGnrlSettings, mProtectionLevel));
