#pragma once
// The base of the borderless modal popups pages open (program integration,
// the hunter's settings): the dialog paints its own background, is moved
// by dragging its body, tips its controls by id, and ends (or hides when
// it is not modal) with a result.

#include <vector>

#include "panel/main/CBaseModalDlg.h"
#include "panel/pages/PageTip.h"

class CToolTipCtrlEx;

class CPopupDlg : public CBaseModalDlg {
public:
    using CBaseModalDlg::CBaseModalDlg;

protected:
    // Sizes the popup, hands its painting to OnPaint and lets the mouse
    // drag it.
    void BuildPopup(const wxSize& size);
    // A tip for each listed control the popup has.
    void AddTips(const std::vector<PageTip>& tips);
    void EndPopup(int result);

    virtual void OnPaint() = 0;

private:
    CToolTipCtrlEx* m_pTip = nullptr;
    wxPoint m_DragFrom;
};
