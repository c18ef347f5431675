#pragma once
// The privacy sub-page of the Advanced tab (template 138): IP shielding,
// one proxy or a chain, the user's own proxy, chain length and time to
// change, and the maker's proxy list. While it exists its message window
// fills the filter switch's privacy slot, so the toolbar's and the
// automation object's privacy switches (WM_PRIVACY_ON / WM_PRIVACY_OFF)
// show here at once.

#include <map>
#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CHostPageLink.h"
#include "panel/pages/CRadioGroup.h"
#include "panel/privacy/CAdvPrivDlgModel.h"
#include "platform/Messages.h"

class wxCheckBox;
class wxChoice;
class wxTextCtrl;
class CFilterSwitchSlot;
class CToolTipCtrlEx;

class CAdvPrivDlg : public CBaseDlg {
public:
    explicit CAdvPrivDlg(CServerHost* host = CServerHost::Current());
    ~CAdvPrivDlg() override;

    const CAdvPrivDlgModel& Model() const { return *m_pModel; }
    CToolTipCtrlEx* ToolTip() const { return m_pTip; }
    // The handle the filter switch sends the privacy notices to.
    platform::HWND GetNoticeWindow() const;

protected:
    bool OnInitDialog() override;

private:
    void Build();
    void BindHandlers();
    void ShowState();
    // Runs a model change, then shows the model's state.
    template <class Action>
    void Change(Action action);

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAdvPrivDlgModel> m_pModel;
    std::unique_ptr<CFilterSwitchSlot> m_pNotices;
    // Child windows, owned by the toolkit.
    wxCheckBox* m_pShield = nullptr;
    wxCheckBox* m_pPrivateProxies = nullptr;
    // One proxy or a chain (1008, 1009); the best proxy or the user's own
    // (1101, 1102).
    std::unique_ptr<CRadioGroup> m_pModes;
    std::unique_ptr<CRadioGroup> m_pProxyChoices;
    wxTextCtrl* m_pUserIP = nullptr;
    wxTextCtrl* m_pUserPort = nullptr;
    wxChoice* m_pUserType = nullptr;
    wxTextCtrl* m_pChainLength = nullptr;
    wxTextCtrl* m_pChainTimer = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
    bool m_bShowing = false;
};
