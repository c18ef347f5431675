#include "wizard/CWizCleaningDlg.h"

#include <wx/artprov.h>
#include <wx/statbmp.h>
#include <wx/utils.h>

#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

CWizCleaningDlg::Pacer& CurrentPacer() {
    static CWizCleaningDlg::Pacer pacer = [](unsigned ms) { wxMilliSleep(ms); };
    return pacer;
}

}  // namespace

CWizCleaningDlg::CWizCleaningDlg(wxWindow* owner)
    : wxDialog(owner, dlg::kCleaning, wxString(), wxDefaultPosition, wxSize(360, 70), wxBORDER_SIMPLE),
      mStatus(new wxStaticText(this, cleaning::kStatus, wxString(), wxPoint(50, 24), wxSize(300, -1),
                               wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE)) {
    new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX, wxSize(32, 32)),
                       wxPoint(10, 18));
    ApplySideDialogColours(this);
    CentreOnScreen();
}

void CWizCleaningDlg::SetStatus(const std::string& text) {
    mStatus->SetLabel(text);
    mStatus->Update();
}

void CWizCleaningDlg::ShowWhile(wxWindow* owner, const std::function<void(ICleaningStatus&)>& run) {
    CWizCleaningDlg progress(owner);
    progress.Show();
    run(progress);
    progress.Hide();
}

void CWizCleaningDlg::Pause(unsigned ms) { CurrentPacer()(ms); }

CWizCleaningDlg::Pacer CWizCleaningDlg::SetPacer(Pacer pacer) {
    Pacer previous = CurrentPacer();
    CurrentPacer() = pacer ? std::move(pacer) : [](unsigned ms) { wxMilliSleep(ms); };
    return previous;
}

}  // namespace wizard
