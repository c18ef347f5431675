#include "wizard/CWizFinishDlg.h"

#include <wx/checkbox.h>

#include "wizard/CFinishText.h"
#include "wizard/CPageStack.h"
#include "wizard/CWizFinishModel.h"
#include "wizard/DialogIds.h"

namespace wizard {

using namespace finish;

CWizFinishDlg::CWizFinishDlg(CWizardSession& session)
    : CWizPage(session, dlg::kFinish, {kBanner, kBack, kFinish, kCancel}),
      mText(new CFinishText(this, kText, wxPoint(40, kBodyTop + 20), wxSize(470, 240))) {
    new wxCheckBox(this, kClearAtExit, "Clear Selected Items Each Time at Program Exit.", wxPoint(40, 370));
    FindWindow(kClearAtExit)->Hide();
    Bind(wxEVT_BUTTON, &CWizFinishDlg::OnFinish, this, kFinish);
}

void CWizFinishDlg::OnFinish(wxCommandEvent&) {
    CWizFinishModel::Finish(Session().mSettings, Session().mStarterFolder);
    for (IWizardPage* page : PagesToEnd(eCancelScope::WholeStack, this, g_pageStack)) {
        page->EndDialog(kPageEndResult);
    }
}

}  // namespace wizard
