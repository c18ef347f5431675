#include "panel/main/CAppNotifier.h"

#include "common/ToolbarChannel.h"
#include "panel/automation/CFilterSwitch.h"

platform::LRESULT CAppNotifier::OnToolbarRequest(platform::LPARAM request) {
    CServerHost* host = GetHost();
    if (!host) return 0;
    CFilterSwitch& filter = host->GetFilterSwitch();
    switch (request) {
    case TB_OUT_FILTER_ON: filter.StartOutFilter(); break;
    case TB_OUT_FILTER_OFF: filter.StopOutFilter(); break;
    case TB_IN_FILTER_ON: filter.StartInFilter(); break;
    case TB_IN_FILTER_OFF: filter.StopInFilter(); break;
    case TB_PRIVACY_ON: filter.StartPrivacy(); break;
    case TB_PRIVACY_OFF: filter.StopPrivacy(); break;
    default: break;
    }
    return 0;
}
