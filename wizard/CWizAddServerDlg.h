#pragma once
// Add Server To Server Stop List (dialog 172).

#include "wizard/CWizAddEntryDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {

class CWizAddServerDlg : public CWizAddEntryDlg {
public:
    explicit CWizAddServerDlg(wxWindow* parent)
        : CWizAddEntryDlg(parent, dlg::kAddServer, "Add Server To Server Stop List", "Server URL :") {}
};

}  // namespace wizard
