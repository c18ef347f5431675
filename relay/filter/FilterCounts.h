#pragma once
// Where the HTTP filter counts what it blocked: the engine's filtration log.

namespace filtercounts {

enum class eBlocked { Images, PopUps, FlashBanners, AdsWindows, Servers, StatusBars, ContextMenuDisablers, Cookies };

// Adds n (nothing for 0 or less) to the log's counter for what.
void Count(eBlocked what, int n);

}  // namespace filtercounts
