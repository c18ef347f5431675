#include "settings/CGnrlSettings.h"

#include "settings/CRegHelper.h"
#include "settings/RegValues.h"
#include "settings/TextLimits.h"

namespace {

constexpr const char* kSubKey = "General";
constexpr const char* kStartingPort = "_STARTING_PORT";
constexpr const char* kStartingIP = "_STARTING_IP";
constexpr const char* kFireWallIP = "_FIRE_WALL_IP";
constexpr platform::DWORD kLowestPort = 80;
constexpr platform::DWORD kHighestPort = 10000;
constexpr platform::DWORD kDefaultPort = 8060;

// Read and written in this order, between the starting address and the
// firewall address.
constexpr regvalues::DwordValue<CGnrlSettings> kFireWallValues[] = {
    {"_BEHIND_FIRE_WALL", &CGnrlSettings::mBehindFireWall},
    {"_FIRE_WALL_PORT", &CGnrlSettings::mFireWallPort},
    {"_FIRE_WALL_TYPE", &CGnrlSettings::mFireWallType},
};
constexpr regvalues::DwordValue<CGnrlSettings> kDisplayValues[] = {
    {"_BALLON_SHOW", &CGnrlSettings::mIsBallonShow},
    {"_PROTECTION_LEVEL", &CGnrlSettings::mProtectionLevel},
};

platform::DWORD PortInRange(platform::DWORD port) {
    return port < kLowestPort || port > kHighestPort ? kDefaultPort : port;
}

}  // namespace

void CGnrlSettings::SetToMaximumProtection() { mIsBallonShow = 1; }
void CGnrlSettings::SetToMediumProtection() { mIsBallonShow = 1; }
void CGnrlSettings::SetToMinimumProtection() { mIsBallonShow = 1; }

bool CGnrlSettings::SetRegistry(const platform::RegKey& root) {
    mStartingPort = PortInRange(mStartingPort);
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    key.SetDWORDValue(kStartingPort, mStartingPort);
    key.SetStringValue(kStartingIP, mStartingIP);
    regvalues::WriteDWORDs(key, *this, kFireWallValues);
    key.SetStringValue(kFireWallIP, mFireWallIP);
    regvalues::WriteDWORDs(key, *this, kDisplayValues);
    return true;
}

bool CGnrlSettings::QueryRegistry(const platform::RegKey& root) {
    platform::RegKey key;
    if (key.Open(root, kSubKey) != platform::ERROR_SUCCESS) throw false;
    regvalues::RequireDWORD(key, kStartingPort, mStartingPort);
    mStartingPort = PortInRange(mStartingPort);
    CRegHelper::utl_QueryStringValue(key, kStartingIP, mStartingIP, textlimits::kAddress);
    regvalues::RequireDWORDs(key, *this, kFireWallValues);
    regvalues::RequireDWORDs(key, *this, kDisplayValues);
    CRegHelper::utl_QueryStringValue(key, kFireWallIP, mFireWallIP, textlimits::kAddress);
    return true;
}
