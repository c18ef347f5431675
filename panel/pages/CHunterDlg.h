#pragma once
// The hunter sub-page of the Proxy tab (template 550): starts and stops
// the proxy hunter, shows what it finds and its log, deletes found proxies
// from the pool and opens the hunter's settings.

#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CHunterDlgModel.h"
#include "panel/pages/CPageMessageWindow.h"

class wxTextCtrl;
class CGifButton;
class CSortList;
class CToolTipCtrlEx;

class CHunterDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CHunterDlg() override;

    CSortList* List() const { return m_pList; }
    wxTextCtrl* Log() const { return m_pLog; }
    CGifButton* StartButton() const { return m_pStart; }
    const CHunterDlgModel& Model() const { return *m_pModel; }
    platform::HWND GetMessageWindow() const { return m_Window.hwnd(); }
    void OnStartStop();
    void OnDeleteProxy();
    void OnSettings();

protected:
    bool OnInitDialog() override;

private:
    void OnNotice(platform::UINT message, platform::WPARAM wParam);
    void ShowState();

    CPageMessageWindow m_Window{[this](platform::UINT m, platform::WPARAM w) { OnNotice(m, w); }};
    std::unique_ptr<CHunterDlgModel> m_pModel;
    CSortList* m_pList = nullptr;
    wxTextCtrl* m_pLog = nullptr;
    CGifButton* m_pDelete = nullptr;
    CGifButton* m_pStart = nullptr;
    CGifButton* m_pSettings = nullptr;
    CToolTipCtrlEx* m_pTip = nullptr;
};
