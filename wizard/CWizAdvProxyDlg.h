#pragma once
// Advanced Proxy Settings (dialog 183), modal over the proxy page: chain
// length and time-out. OK stores them and saves the whole settings object;
// the page takes back the chain flag only then.

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include "wizard/CWizAdvProxyModel.h"

namespace wizard {

class CWizAdvProxyDlg : public wxDialog {
public:
    CWizAdvProxyDlg(wxWindow* parent, CSettings& settings, int pageChainFlag);

    // The flag OK gave back; valid after ShowModal returned wxID_OK.
    int ChainFlag() const { return mChainFlag; }

private:
    void OnChain(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);
    void ShowModel();

    CSettings& mSettings;
    CWizAdvProxyModel mModel;
    int mChainFlag = 0;
    // Made before the controls it frames, so it lies beneath them.
    wxStaticBox* mGroup;
    wxCheckBox* mChain;
    wxTextCtrl* mLength;
    wxTextCtrl* mTimer;
};

}  // namespace wizard
