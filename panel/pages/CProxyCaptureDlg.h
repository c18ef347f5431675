#pragma once
// The captured-programs page (template 148), made only by the page
// factory: an empty list with "Add" and "Remove", which change nothing.

#include "panel/main/CBaseDlg.h"

class wxListCtrl;
class CToolTipCtrlEx;

class CProxyCaptureDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;

    wxListCtrl* List() const { return m_pList; }

protected:
    bool OnInitDialog() override;

private:
    wxListCtrl* m_pList = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
