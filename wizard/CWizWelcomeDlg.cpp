#include "wizard/CWizWelcomeDlg.h"

#include "wizard/CAboutDlg.h"
#include "wizard/CWelcomeText.h"
#include "wizard/CWizAutoConfigDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/ProgramIcon.h"

namespace wizard {

CWizWelcomeDlg::CWizWelcomeDlg(CWizardSession& session)
    : CWizPage(session, dlg::kWelcome, {welcome::kBanner, welcome::kBack, welcome::kNext, welcome::kCancel}),
      mText(new CWelcomeText(this, welcome::kText, wxPoint(40, kBodyTop + 20), wxSize(470, 220))) {
    SetIcon(ProgramIcon());
    Bind(wxEVT_BUTTON, &CWizWelcomeDlg::OnNext, this, welcome::kNext);
}

bool CWizWelcomeDlg::OnSysCommand(unsigned command) {
    if ((command & 0xFFF0u) != about::kCommand) return false;
    CAboutDlg about(this);
    about.ShowModal();
    return true;
}

void CWizWelcomeDlg::OnNext(wxCommandEvent&) { OpenNext<CWizAutoConfigDlg>(); }

}  // namespace wizard
