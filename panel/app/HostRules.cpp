#include "panel/app/HostRules.h"

#include "common/ToolbarChannel.h"
#include "settings/CSettings.h"

namespace hostrules {

std::array<unsigned, 3> ToolBarStates(const CSettings& settings) {
    const CFiltrationSettings& filtration = *settings.getFiltrationSettings();
    return {
        filtration.mInFiltration.getEnable() ? unsigned{TB_IN_FILTER_IS_ON} : unsigned{TB_IN_FILTER_IS_OFF},
        filtration.mOutFiltration.IsEnable() > 0 ? unsigned{TB_OUT_FILTER_IS_ON} : unsigned{TB_OUT_FILTER_IS_OFF},
        settings.getPrivacySettings()->mEnableIPShielding != 0 ? unsigned{TB_PRIVACY_IS_ON}
                                                                : unsigned{TB_PRIVACY_IS_OFF},
    };
}

bool CleansAtExit(const CSettings& settings) {
    return settings.getCleanupSettings()->mCleanupAdvanced.mWindowsExit != 0;
}

std::filesystem::path HelpFile(const std::filesystem::path& programFolder) {
    return programFolder / "hlp" / "KavelinPro.html";
}

}  // namespace hostrules
