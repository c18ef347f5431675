#include "panel/main/CAppNotifier.h"

#include "panel/automation/CFilterSwitch.h"

platform::LRESULT CAppNotifier::OnToolbarRequest(platform::LPARAM request) {
    CServerHost* host = GetHost();
    if (!host) return 0;
    CFilterSwitch& filter = host->GetFilterSwitch();
    switch (request) {
    case 4: filter.StartOutFilter(); break;
    case 5: filter.StopOutFilter(); break;
    case 6: filter.StartInFilter(); break;
    case 7: filter.StopInFilter(); break;
    case 8: filter.StartPrivacy(); break;
    case 9: filter.StopPrivacy(); break;
    default: break;
    }
    return 0;
}
