#include "settings/CFiltrationBanners.h"

#include "settings/CRegHelper.h"

namespace {

constexpr const char* kSubKey = "Banners";
constexpr const char* kAllowedList = "AllowedServerList";
constexpr const char* kBlockedList = "BlockedServerList";
constexpr const char* kCustomList = "CustomServerList";
constexpr const char* kAllowedFile = "AllowedAds.txt";
constexpr const char* kBlockedFile = "blockedAds.txt";

// Deleting first leaves no entries of a longer earlier list behind.
void Rewrite(platform::RegKey& banners, const char* name, const std::vector<std::string>& list) {
    banners.RecurseDeleteKey(name);
    CRegHelper::setStringArrayRegistry(banners, name, list);
}

}  // namespace

bool CFiltrationBanners::SetRegistry(const platform::RegKey& incomingKey) const {
    platform::RegKey banners;
    if (banners.Create(incomingKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    Rewrite(banners, kAllowedList, mAllowedServerList);
    Rewrite(banners, kBlockedList, mBlockedServerList);
    Rewrite(banners, kCustomList, mCustomServerList);
    return true;
}

bool CFiltrationBanners::QueryRegistry(const platform::RegKey& incomingKey) {
    platform::RegKey banners;
    if (banners.Create(incomingKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    CRegHelper::getStringArrayRegistry(banners, kAllowedList, mAllowedServerList, kAllowedFile);
    CRegHelper::getStringArrayRegistry(banners, kBlockedList, mBlockedServerList, kBlockedFile);
    CRegHelper::getStringArrayRegistry(banners, kCustomList, mCustomServerList, nullptr);
    return true;
}

void CFiltrationBanners::LoadDefaultLists() {
    if (mAllowedServerList.empty()) mAllowedServerList = CRegHelper::ReadListFile(kAllowedFile);
    if (mBlockedServerList.empty()) mBlockedServerList = CRegHelper::ReadListFile(kBlockedFile);
}
