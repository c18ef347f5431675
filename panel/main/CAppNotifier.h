#pragma once
// A modal dialog that also answers the toolbar's switch requests
// (WM_RELAY_TOOLBAR_REQUEST, the request in lParam) through the host's
// filter switch: 4/5 outgoing filtration on/off, 6/7 incoming, 8/9 privacy;
// other requests change nothing.

#include "panel/main/CBaseModalDlg.h"
#include "platform/Types.h"

class CAppNotifier : public CBaseModalDlg {
public:
    using CBaseModalDlg::CBaseModalDlg;

    // Always 0.
    platform::LRESULT OnToolbarRequest(platform::LPARAM request);
};
