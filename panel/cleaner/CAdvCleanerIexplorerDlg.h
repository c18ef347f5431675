#pragma once
// The cleaner's browser items (template 151): the system browser's traces.

#include "panel/cleaner/CAdvCleanerItemsDlg.h"

class CAdvCleanerIexplorerDlg : public CAdvCleanerItemsDlg {
public:
    explicit CAdvCleanerIexplorerDlg(CServerHost* host = CServerHost::Current());
};
