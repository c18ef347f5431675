#pragma once
// The General page (template 551): the local listener, the firewall proxy,
// start with the session, tray notices, the protection preset and the
// engine's start/stop button. Every edit goes into the working settings at
// once; the main window's Apply hands them to the engine.

#include <map>
#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/main/IGeneralPage.h"
#include "panel/pages/CGeneralDlgModel.h"
#include "panel/pages/CHostPageLink.h"
#include "panel/pages/CRadioGroup.h"

class wxCheckBox;
class wxChoice;
class wxTextCtrl;
class CGifButton;
class CToolTipCtrlEx;

class CGeneralDlg : public CBaseDlg, public IGeneralPage {
public:
    explicit CGeneralDlg(CServerHost* host = CServerHost::Current());
    ~CGeneralDlg() override;

    const CGeneralDlgModel& Model() const { return *m_pModel; }
    CToolTipCtrlEx* ToolTip() const { return m_pTip; }

    // IGeneralPage
    void OnServerStopped() override;
    void OnServerStarted() override;
    void SelectCustomLevel() override;

protected:
    bool OnInitDialog() override;

private:
    void Build();
    void BindHandlers();
    void ShowState();
    void SetTip(wxWindow* control, const std::string& text);
    // Runs a model change, then shows the model's state.
    template <class Action>
    void Change(Action action);

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CGeneralDlgModel> m_pModel;
    wxTextCtrl* m_pPort = nullptr;
    wxChoice* m_pServerType = nullptr;
    wxCheckBox* m_pFirewall = nullptr;
    wxTextCtrl* m_pFirewallIP = nullptr;
    wxTextCtrl* m_pFirewallPort = nullptr;
    wxChoice* m_pFirewallType = nullptr;
    wxCheckBox* m_pAutostart = nullptr;
    wxCheckBox* m_pTray = nullptr;
    CGifButton* m_pStartStop = nullptr;
    CGifButton* m_pAutoConfig = nullptr;
    // The protection level (1009, 1118, 1119, 1010); none for a level outside 1..4.
    std::unique_ptr<CRadioGroup> m_pLevels;
    std::map<wxWindow*, std::string> m_Tips;
    CToolTipCtrlEx* m_pTip = nullptr;
    bool m_bShowing = false;
};
