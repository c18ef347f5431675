#pragma once
// The stop-list page (dialog 215): the outgoing filter's server stop list.
// Its custom-filter group stays hidden; the page carries that list through.
// Opens the finish page.

#include <wx/checkbox.h>

#include "wizard/CEntryListControls.h"
#include "wizard/CWizPage.h"
#include "wizard/CWizStopListModel.h"

namespace wizard {

class CWizStopListDlg : public CWizPage {
public:
    explicit CWizStopListDlg(CWizardSession& session);

private:
    void InitPage() override;
    void Store();
    void OnStopBox(wxCommandEvent& event);

    CWizStopListModel mModel;
    wxCheckBox* mStopBox;
    CEntryListControls mServers;
};

}  // namespace wizard
