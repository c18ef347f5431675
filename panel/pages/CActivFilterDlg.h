#pragma once
// The filtration sub-page of the Activity tab (template 147): the engine's
// filtration counters as text while the page is attached to them.

#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CActivFilterModel.h"
#include "panel/pages/CPageMessageWindow.h"

class wxTextCtrl;
class CToolTipCtrlEx;

class CActivFilterDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CActivFilterDlg() override;

    wxTextCtrl* Text() const { return m_pText; }
    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    void OnClear();

protected:
    bool OnInitDialog() override;

private:
    void OnNotice(platform::UINT message, platform::WPARAM wParam);

    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM w) { OnNotice(m, w); }};
    std::unique_ptr<CActivFilterModel> m_pModel;
    wxTextCtrl* m_pText = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
