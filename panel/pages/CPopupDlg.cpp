#include "panel/pages/CPopupDlg.h"

#include "controls/CToolTipCtrlEx.h"

void CPopupDlg::BuildPopup(const wxSize& size) {
    SetSize(size);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaint(); });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        m_DragFrom = e.GetPosition();
        CaptureMouse();
    });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) {
        if (HasCapture() && e.LeftIsDown()) Move(ClientToScreen(e.GetPosition()) - m_DragFrom);
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
        if (HasCapture()) ReleaseMouse();
    });
}

void CPopupDlg::AddTips(const std::vector<PageTip>& tips) {
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const PageTip& tip : tips) {
        if (wxWindow* control = FindWindow(tip.control)) m_pTip->AddTool(control, tip.text);
    }
}

void CPopupDlg::EndPopup(int result) {
    if (IsModal()) EndModal(result);
    else Hide();
}
