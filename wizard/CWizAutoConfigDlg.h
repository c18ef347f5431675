#pragma once
// The auto-configuration page (dialog 144): loads the stored settings, shows
// which client programs can be pointed at the relay and takes the start-up
// choices. It stays shown under the later pages.

#include <map>

#include <wx/checkbox.h>

#include "wizard/CWizAutoConfigModel.h"
#include "wizard/CWizPage.h"

namespace wizard {

class CWizAutoConfigDlg : public CWizPage {
public:
    explicit CWizAutoConfigDlg(CWizardSession& session);

    // The choices as last stored by Next.
    const CWizAutoConfigModel& Model() const { return mModel; }
    wxCheckBox* Box(int id) const;

private:
    void InitPage() override;
    void OnNext(wxCommandEvent& event);
    void ShowModel();

    CWizAutoConfigModel mModel;
    std::map<int, wxCheckBox*> mBoxes;
};

}  // namespace wizard
