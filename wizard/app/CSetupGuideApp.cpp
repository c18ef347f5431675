#include "wizard/app/CSetupGuideApp.h"

#include <wx/image.h>

#include "platform/MainLoopQueue.h"
#include "platform/MessageBox.h"
#include "settings/CSettings.h"
#include "wizard/CWizWelcomeDlg.h"
#include "wizard/app/DialogMessageBox.h"

wxIMPLEMENT_APP(wizard::CSetupGuideApp);

namespace wizard {

bool CSetupGuideApp::OnInit() {
    wxInitAllImageHandlers();
    // The start-with-Windows value names the control panel.
    CSettings::mAppName = eKVDesk;
    platform::SetMessageBoxHandler(&ShowDialogMessageBox);
    platform::MainLoopQueue::Attach(&CWizPage::OnQuitMessage);
    return true;
}

int CSetupGuideApp::OnRun() {
    {
        CWizWelcomeDlg welcome(mSession);
        CWizPage::SetMainWindow(&welcome);
        welcome.RunModal();
    }
    platform::MainLoopQueue::Detach();
    return mSession.mExitCode;
}

}  // namespace wizard
