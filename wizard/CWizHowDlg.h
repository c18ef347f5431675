#pragma once
// The picture that explains the proxy chain (dialog 203): a borderless
// light-blue popup that grows from nothing, centred on the desktop, and
// ends with Escape or Enter.

#include <optional>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "wizard/CWizHowModel.h"

namespace wizard {

class CWizHowDlg : public wxDialog {
public:
    explicit CWizHowDlg(wxWindow* parent);

    const wxSize& FullSize() const { return mFullSize; }
    bool Growing() const { return mTimer.IsRunning(); }

private:
    void OnTimer(wxTimerEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxSize mFullSize;
    std::optional<CWizHowModel> mModel;
    wxTimer mTimer;
};

}  // namespace wizard
