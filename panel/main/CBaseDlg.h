#pragma once
// The base of every window of the control panel. Pages (and the sub-pages
// of container pages) are CBaseDlg: child windows made modeless with
// Create(template id, parent) inside a host's frame. Modal dialogs, the
// main window among them, derive from CBaseModalDlg (CBaseModalDlg.h); both
// share CBaseDlgOf, which gives what every dialog answers: the host, the
// start and stop commands (32782 / 32779), hiding the main window to the
// tray and the skin's colours.
//
// The page hosting contract: a host makes a page object (new, not yet
// created), calls Create with the page's template id and the host window as
// parent, then moves it into its frame, shows, enables and refreshes it. A
// switch destroys the page window, which deletes the object, so a page
// writes every change into the host's working settings at once and calls
// CMainDlg::SetModified.

#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

#include "panel/app/CServerHost.h"
#include "panel/main/PanelCommands.h"

// Minimises the host's main window, then hides it (nothing without one).
void HideMainWindowToTray(CServerHost* host);

template <class TWindow>
class CBaseDlgOf : public TWindow {
public:
    explicit CBaseDlgOf(CServerHost* host = CServerHost::Current()) : m_pHost(host) {}

    CServerHost* GetHost() const { return m_pHost; }
    // Set on the main window just before it runs.
    bool IsMainWindow() const { return m_bIsMainWindow; }
    void SetMainWindow(bool isMain) { m_bIsMainWindow = isMain; }

    // Minimises the application's main window, then hides it.
    void HideToTray() { HideMainWindowToTray(m_pHost); }

protected:
    // Builds the controls after the window exists; true when it succeeded.
    virtual bool OnInitDialog() { return true; }
    // The cancel command (Escape, wxID_CANCEL).
    virtual void OnCancel() {}

    // Binds the commands every dialog answers; the concrete bases call it
    // once the window exists.
    void BindBaseCommands() {
        this->Bind(wxEVT_MENU, [this](wxCommandEvent&) { if (m_pHost) m_pHost->StartServer(); },
                   kCmdStartServer);
        this->Bind(wxEVT_MENU, [this](wxCommandEvent&) { if (m_pHost) m_pHost->StopServer(); },
                   kCmdStopServer);
        this->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, wxID_CANCEL);
    }

    // The skin's colours: edit fields and list boxes on white, and the logs
    // 1133 and 1175 whatever their kind; everything else keeps the skin
    // behind it.
    void ApplySkinColours() {
        for (wxWindow* child : this->GetChildren()) {
            const bool log = child->GetId() == kHunterLog || child->GetId() == kFilterLog;
            if (log || dynamic_cast<wxTextCtrl*>(child) || dynamic_cast<wxListBox*>(child)) {
                child->SetBackgroundColour(*wxWHITE);
            }
        }
    }

    static constexpr int kHunterLog = 1133;  // also the analyzer's log
    static constexpr int kFilterLog = 1175;

private:
    CServerHost* m_pHost;
    bool m_bIsMainWindow = false;
};

class CBaseDlg : public CBaseDlgOf<wxPanel> {
public:
    using CBaseDlgOf<wxPanel>::CBaseDlgOf;

    // Makes the child window (its id is the template id) and runs
    // OnInitDialog; false when either fails (the caller deletes the object).
    virtual bool Create(int templateId, wxWindow* parent);
};
