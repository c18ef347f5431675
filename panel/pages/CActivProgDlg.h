#pragma once
// The program-requests sub-page of the Activity tab (template 141): the
// engine's program log in a list while the page is attached to it.

#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CActivProgModel.h"
#include "panel/pages/CPageMessageWindow.h"

class wxListCtrl;
class CToolTipCtrlEx;

class CActivProgDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CActivProgDlg() override;

    wxListCtrl* List() const { return m_pList; }
    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    // The "clear" picture's click.
    void OnClear();

protected:
    bool OnInitDialog() override;

private:
    void OnNotice(platform::UINT message, platform::WPARAM wParam);

    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM w) { OnNotice(m, w); }};
    std::unique_ptr<CActivProgModel> m_pModel;
    wxListCtrl* m_pList = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
