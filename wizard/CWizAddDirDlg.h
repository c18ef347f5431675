#pragma once
// Add Custom Directory (dialog 170): a directory typed or picked with the
// folder browser.

#include "wizard/CWizAddEntryDlg.h"

namespace wizard {

class CWizAddDirDlg : public CWizAddEntryDlg {
public:
    explicit CWizAddDirDlg(wxWindow* parent);

private:
    void OnBrowse(wxCommandEvent& event);
};

}  // namespace wizard
