#include "panel/main/CBaseDlg.h"

#include "panel/main/CMainDlg.h"

void HideMainWindowToTray(CServerHost* host) {
    CMainDlg* main = host ? host->GetMainWnd() : nullptr;
    if (!main) return;
    main->Iconize(true);
    main->Hide();
}

bool CBaseDlg::Create(int templateId, wxWindow* parent) {
    if (!wxPanel::Create(parent, templateId)) return false;
    BindBaseCommands();
    if (!OnInitDialog()) return false;
    ApplySkinColours();
    return true;
}
