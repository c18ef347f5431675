#pragma once
// The ad-server lists of the incoming filter: servers whose ads pass, servers
// whose ads are blocked, and the user's own additions.

#include <string>
#include <type_traits>
#include <vector>

#include "platform/Registry.h"

class CFiltrationBanners {
public:
    std::vector<std::string>& GetAllowedServerList() { return mAllowedServerList; }
    std::vector<std::string>& GetBlockedServerList() { return mBlockedServerList; }
    std::vector<std::string>& GetCustomServerList() { return mCustomServerList; }
    const std::vector<std::string>& GetAllowedServerList() const { return mAllowedServerList; }
    const std::vector<std::string>& GetBlockedServerList() const { return mBlockedServerList; }
    const std::vector<std::string>& GetCustomServerList() const { return mCustomServerList; }

    void SetAllowedServerList(const std::vector<std::string>& list) { mAllowedServerList = list; }
    void SetBlockedServerList(const std::vector<std::string>& list) { mBlockedServerList = list; }
    void SetCustomServerList(const std::vector<std::string>& list) { mCustomServerList = list; }

    // incomingKey is Filteration\Incoming; the lists live in its "Banners"
    // subkey. Reading falls back to the default list files when a list holds
    // no entries.
    bool SetRegistry(const platform::RegKey& incomingKey) const;
    bool QueryRegistry(const platform::RegKey& incomingKey);

    // Fills the allowed and blocked lists from their default files when they
    // are empty (first run).
    void LoadDefaultLists();

    std::vector<std::string> mAllowedServerList;  // AllowedServerList, "AllowedAds.txt"
    std::vector<std::string> mBlockedServerList;  // BlockedServerList, "blockedAds.txt"
    std::vector<std::string> mCustomServerList;   // CustomServerList
};

static_assert(std::is_standard_layout_v<CFiltrationBanners>);
