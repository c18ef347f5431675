#pragma once
// The outgoing-filtration page (template 144): the request filters and the
// server stop list. While it exists its window fills the filter switch's
// outgoing slot (WM_OUTFILTER_ON / _OFF).

#include <map>
#include <memory>

#include "panel/filtration/CAdvFltrOutModel.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/CHostPageLink.h"

class wxCheckBox;
class wxListBox;
class CFilterSwitchSlot;
class CToolTipCtrlEx;

class CAdvFltrOutDlg : public CBaseDlg {
public:
    explicit CAdvFltrOutDlg(CServerHost* host = CServerHost::Current());
    ~CAdvFltrOutDlg() override;

    const CAdvFltrOutModel& Model() const { return *m_pModel; }
    wxCheckBox* Box(int id) const;
    wxListBox* StopList() const { return m_pList; }
    platform::HWND GetMessageWindow() const;

protected:
    bool OnInitDialog() override;

private:
    void Build();
    void BindHandlers();
    void ShowState();
    void OnFilterSwitch(bool on);

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAdvFltrOutModel> m_pModel;
    std::unique_ptr<CFilterSwitchSlot> m_pSlot;
    std::map<int, wxCheckBox*> m_Boxes;
    std::map<int, wxWindow*> m_Buttons;
    wxListBox* m_pList = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
