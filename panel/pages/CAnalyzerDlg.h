#pragma once
// The analyzer sub-page of the Proxy tab (template 434): starts and stops
// the stored-proxy analyzer and shows its results and log.

#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CAnalyzerDlgModel.h"
#include "panel/pages/CPageMessageWindow.h"

class wxTextCtrl;
class CAnimatedGifStatic;
class CSortList;
class CToolTipCtrlEx;

class CAnalyzerDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CAnalyzerDlg() override;

    CSortList* List() const { return m_pList; }
    wxTextCtrl* Log() const { return m_pLog; }
    wxTextCtrl* TimeOut() const { return m_pTimeOut; }
    const CAnalyzerDlgModel& Model() const { return *m_pModel; }
    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    void OnStartStop();

protected:
    bool OnInitDialog() override;

private:
    void OnNotice(platform::UINT message, platform::WPARAM wParam);
    void ShowState();

    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM w) { OnNotice(m, w); }};
    std::unique_ptr<CAnalyzerDlgModel> m_pModel;
    CSortList* m_pList = nullptr;
    wxTextCtrl* m_pLog = nullptr;
    wxTextCtrl* m_pTimeOut = nullptr;
    CAnimatedGifStatic* m_pStart = nullptr;
    unsigned m_ShownImage = 0;
    CToolTipCtrlEx* m_pTip = nullptr;
};
