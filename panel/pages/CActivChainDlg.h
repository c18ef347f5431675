#pragma once
// The chains sub-page of the Activity tab (template 143): the engine's
// chain log in a tree while the page is attached to it.

#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CActivChainModel.h"
#include "panel/pages/CPageMessageWindow.h"
#include "panel/pages/CTreeCtrlSink.h"

class wxTreeCtrl;
class CToolTipCtrlEx;

class CActivChainDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CActivChainDlg() override;

    wxTreeCtrl* Tree() const { return m_pTree; }
    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    void OnClear();

protected:
    bool OnInitDialog() override;

private:
    void OnNotice(platform::UINT message, platform::WPARAM wParam);

    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM w) { OnNotice(m, w); }};
    std::unique_ptr<CActivChainModel> m_pModel;
    wxTreeCtrl* m_pTree = nullptr;
    std::unique_ptr<CTreeCtrlSink> m_pSink;
    CToolTipCtrlEx* m_pTip = nullptr;
};
