#pragma once
// "Add Server Name" (template 152): asks for one server name. The caller
// fills the name before the dialog runs and reads it afterwards; "Ok" ends
// it with wxID_OK, closing it with 0.

#include <optional>
#include <string>

#include "panel/main/CBaseModalDlg.h"

class wxTextCtrl;
class CToolTipCtrlEx;

class CAddFltrSrvrDlg : public CBaseModalDlg {
public:
    using CBaseModalDlg::CBaseModalDlg;

    // Makes the dialog (template 152, caption "Add Server Name").
    bool Create(wxWindow* parent);

    void SetServerName(const std::string& name) { m_ServerName = name; }
    const std::string& GetServerName() const { return m_ServerName; }
    wxTextCtrl* Edit() const { return m_pEdit; }
    // Reads the edit and ends the dialog with wxID_OK.
    void OnOk();

    // Runs the dialog opened with sample; the name typed when it ended with "Ok".
    static std::optional<std::string> Ask(CServerHost* host, wxWindow* parent, const std::string& sample);

protected:
    bool OnInitDialog() override;

private:
    std::string m_ServerName;
    wxTextCtrl* m_pEdit = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
