#pragma once
// The proxy page (dialog 181), the first custom page: the proxy chain
// choice and the listener port. Opens the system-cleanup page.

#include <map>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "wizard/CWizPage.h"
#include "wizard/CWizProxyModel.h"

namespace wizard {

class CWizProxyDlg : public CWizPage {
public:
    explicit CWizProxyDlg(CWizardSession& session);

    const CWizProxyModel& Model() const { return mModel; }

private:
    void InitPage() override;
    void Store();
    void ShowModel();
    void OnAdvanced(wxCommandEvent& event);
    void OnHow(wxCommandEvent& event);

    CWizProxyModel mModel;
    wxCheckBox* mChain;
    wxTextCtrl* mPort;
    wxRadioButton* mOneProxy;
    wxRadioButton* mMultipleProxies;
    wxCheckBox* mUpdateEvery;
    wxChoice* mInterval;
    wxCheckBox* mUpdateAtStartup;
    CGifButton* mAdvanced;
    CGifButton* mHow;
};

}  // namespace wizard
