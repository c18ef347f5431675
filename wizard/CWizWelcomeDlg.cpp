#include "wizard/CWizWelcomeDlg.h"

#include "wizard/CWelcomeText.h"
#include "wizard/CWizAutoConfigDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {

CWizWelcomeDlg::CWizWelcomeDlg(CWizardSession& session)
    : CWizPage(session, dlg::kWelcome, {welcome::kBanner, welcome::kBack, welcome::kNext, welcome::kCancel}),
      mText(new CWelcomeText(this, welcome::kText, wxPoint(40, kBodyTop + 20), wxSize(470, 220))) {
    Bind(wxEVT_BUTTON, &CWizWelcomeDlg::OnNext, this, welcome::kNext);
}

void CWizWelcomeDlg::OnNext(wxCommandEvent&) { OpenNext<CWizAutoConfigDlg>(); }

}  // namespace wizard
