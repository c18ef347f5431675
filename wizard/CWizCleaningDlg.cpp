#include "wizard/CWizCleaningDlg.h"

#include <chrono>

#include <wx/artprov.h>
#include <wx/evtloop.h>
#include <wx/statbmp.h>
#include <wx/utils.h>

#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

using Clock = std::chrono::steady_clock;

// How long a new text, or the window's first show, may take to reach the
// screen before the run goes on regardless (a window covered by another
// one paints nothing).
constexpr auto kFirstPaintLimit = std::chrono::milliseconds(1000);
constexpr auto kTextPaintLimit = std::chrono::milliseconds(200);

// Paints, and nothing else: input waits in the queue until the run is over.
void PaintPending() {
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) loop->YieldFor(wxEVT_CATEGORY_UI);
}

void WaitPainting(unsigned ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        PaintPending();
        wxMilliSleep(5);
    }
}

CWizCleaningDlg::Pacer& CurrentPacer() {
    static CWizCleaningDlg::Pacer pacer = &WaitPainting;
    return pacer;
}

}  // namespace

CWizCleaningDlg::CWizCleaningDlg(wxWindow* owner)
    : wxDialog(owner, dlg::kCleaning, wxString(), wxDefaultPosition, wxSize(420, 70), wxBORDER_SIMPLE),
      mStatus(new wxStaticText(this, cleaning::kStatus, wxString(), wxPoint(50, 24), wxSize(360, -1),
                               wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE)) {
    new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX, wxSize(32, 32)),
                       wxPoint(10, 18));
    ApplySideDialogColours(this);
    CentreOnScreen();
    Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
        ++mPaints;
        event.Skip();
    });
}

void CWizCleaningDlg::SetStatus(const std::string& text) {
    mStatus->SetLabel(text);
    PaintNow(kTextPaintLimit);
}

void CWizCleaningDlg::PaintNow(std::chrono::milliseconds limit) {
    const unsigned before = mPaints;
    Refresh();
    const auto until = Clock::now() + limit;
    while (mPaints == before && Clock::now() < until) {
        PaintPending();
        if (mPaints == before) wxMilliSleep(2);
    }
}

void CWizCleaningDlg::ShowWhile(wxWindow* owner, const std::function<void(ICleaningStatus&)>& run) {
    CWizCleaningDlg progress(owner);
    progress.Show();
    progress.PaintNow(kFirstPaintLimit);
    run(progress);
    progress.Hide();
}

void CWizCleaningDlg::Pause(unsigned ms) { CurrentPacer()(ms); }

CWizCleaningDlg::Pacer CWizCleaningDlg::SetPacer(Pacer pacer) {
    Pacer previous = CurrentPacer();
    CurrentPacer() = pacer ? std::move(pacer) : Pacer(&WaitPainting);
    return previous;
}

}  // namespace wizard
