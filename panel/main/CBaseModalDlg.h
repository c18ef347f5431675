#pragma once
// The base of the control panel's modal dialogs (the main window and the
// dialogs pages open). Cancel ends the dialog with result 0; closing the
// window is a cancel.

#include <wx/dialog.h>

#include "panel/main/CBaseDlg.h"

class CBaseModalDlg : public CBaseDlgOf<wxDialog> {
public:
    using CBaseDlgOf<wxDialog>::CBaseDlgOf;

    // Makes the top-level window (its id is the template id) and runs
    // OnInitDialog; false when either fails (the caller deletes the object).
    virtual bool Create(int templateId, wxWindow* parent, const wxString& title = wxString(),
                        const wxSize& size = wxDefaultSize, long style = wxDEFAULT_DIALOG_STYLE);

protected:
    void OnCancel() override;
};
