#pragma once
// Filtration managers for tests, made from settings as the engine makes its
// own, and what a manager makes of a whole body in one piece.

#include <functional>
#include <string>
#include <string_view>

#include "relay/filter/CFiltrationManager.h"
#include "settings/CSettings.h"

namespace filtertest {

using Adjust = std::function<void(CFiltrationSettings&)>;

// Every filter off but those adjust turns on.
inline CFiltrationManager MakeManager(const Adjust& adjust) {
    CSettings settings;
    CFiltrationSettings& f = *settings.getFiltrationSettings();
    f = CFiltrationSettings{};
    if (adjust) adjust(f);
    CFiltrationManager manager;
    manager = settings;
    return manager;
}

// Incoming filtration with every filter of responses on.
inline void EveryResponseFilter(CFiltrationSettings& f, const char* title) {
    CInFiltration& in = f.mInFiltration;
    in.setEnable(true);
    in.setBlockScripts(true);
    in.setBlockPopUps(true);
    in.setIsBlockTitle(true);
    in.setBlockTitle(title);
    CAdvancedFiltration& a = f.mAdvancedFiltration;
    a.mDisableTimerScripts = a.mDisableWndCloseupEvents = a.mRemoveStatusModifier = a.mRemoveContextMenu = 1;
}

// What manager makes of body, a whole page (or script) of that type.
inline std::string FilterWhole(CFiltrationManager& manager, std::string body, std::string_view type = "text/html") {
    CScriptFilterState state;
    if (!manager.FilterResponseHead("HTTP/1.1 200 OK\r\nContent-Type: " + std::string(type) + "\r\n\r\n", state)) {
        return body;
    }
    int length = static_cast<int>(body.size());
    manager.FilterResponse(body.data(), length, state, true);
    return body;
}

}  // namespace filtertest
