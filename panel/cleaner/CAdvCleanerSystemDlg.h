#pragma once
// The cleaner's system items (template 150): menus and folders.

#include "panel/cleaner/CAdvCleanerItemsDlg.h"

class CAdvCleanerSystemDlg : public CAdvCleanerItemsDlg {
public:
    explicit CAdvCleanerSystemDlg(CServerHost* host = CServerHost::Current());
};
