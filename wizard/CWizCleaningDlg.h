#pragma once
// The progress window of Run Now (dialog 171): a small modeless popup,
// centred on the screen, whose status line shows each text at once. The
// run waits on the interface thread between texts; meanwhile the window
// repaints, and user input waits until the run is over.

#include <chrono>
#include <functional>

#include <wx/dialog.h>
#include <wx/stattext.h>

#include "wizard/CWizCleaningRun.h"

namespace wizard {

class CWizCleaningDlg : public wxDialog, public ICleaningStatus {
public:
    using Pacer = std::function<void(unsigned ms)>;

    explicit CWizCleaningDlg(wxWindow* owner);

    // ICleaningStatus
    void SetStatus(const std::string& text) override;
    void Pause(unsigned ms) override;

    // Runs `run` with a progress window over `owner` shown meanwhile.
    static void ShowWhile(wxWindow* owner, const std::function<void(ICleaningStatus&)>& run);

    // How the waits are spent (by default repainting); returns the previous.
    static Pacer SetPacer(Pacer pacer);

private:
    // Lets the window reach the screen: paints until it has drawn once
    // more, at most for limit.
    void PaintNow(std::chrono::milliseconds limit);

    wxStaticText* mStatus;
    unsigned mPaints = 0;
};

}  // namespace wizard
