#include "relay/filter/FilterCounts.h"

#include "relay/engine/CBaseServer.h"

namespace filtercounts {

namespace {

using Increment = void (CFiltrationLogger::*)(int);

// Indexed by eBlocked.
constexpr Increment kIncrements[] = {
    &CFiltrationLogger::IncrementBlockedImages,    &CFiltrationLogger::IncrementBlockedPopUps,
    &CFiltrationLogger::IncrementFlashBanners,     &CFiltrationLogger::IncrementAdsWindows,
    &CFiltrationLogger::IncrementBlockedServers,   &CFiltrationLogger::IncrementStatusBars,
    &CFiltrationLogger::IncrementContextMenuDisablers, &CFiltrationLogger::IncrementCookies,
};
static_assert(std::size(kIncrements) == static_cast<std::size_t>(eBlocked::Cookies) + 1);

}  // namespace

void Count(eBlocked what, int n) {
    if (n > 0) (CBaseServer::m_FiltrationLog.*kIncrements[static_cast<int>(what)])(n);
}

}  // namespace filtercounts
