#pragma once
// The incoming-filtration page (template 145): the response filters, the
// page title and the script-level switches. While it exists its window
// fills the filter switch's incoming slot, so the toolbar's and the
// automation object's switches reach it (WM_INFILTER_ON / _OFF).

#include <map>
#include <memory>

#include "panel/filtration/CAdvFltrInModel.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/CHostPageLink.h"

class wxCheckBox;
class wxTextCtrl;
class CGifButton;
class CFilterSwitchSlot;
class CToolTipCtrlEx;

class CAdvFltrInDlg : public CBaseDlg {
public:
    explicit CAdvFltrInDlg(CServerHost* host = CServerHost::Current());
    ~CAdvFltrInDlg() override;

    const CAdvFltrInModel& Model() const { return *m_pModel; }
    wxCheckBox* Box(int id) const;
    wxTextCtrl* TitleEdit() const { return m_pTitle; }
    platform::HWND GetMessageWindow() const;

protected:
    bool OnInitDialog() override;

private:
    void Build();
    void BindHandlers();
    void ShowState();
    void OnFilterSwitch(bool on);

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAdvFltrInModel> m_pModel;
    std::unique_ptr<CFilterSwitchSlot> m_pSlot;
    std::map<int, wxCheckBox*> m_Boxes;
    std::map<int, wxWindow*> m_Buttons;
    wxTextCtrl* m_pTitle = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
    bool m_bShowing = false;
};
