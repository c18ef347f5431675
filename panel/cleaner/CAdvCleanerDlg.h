#pragma once
// The cleaner sub-page of the Advanced tab (template 140): the three
// clean-on-event boxes, Clean Now, and a vertical picture strip whose two
// zones show the system items (150) or the browser items (151), one at a
// time, made by the page factory.

#include <array>
#include <memory>

#include "panel/cleaner/CAdvCleanerModel.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/CHostPageLink.h"
#include "panel/pages/CSubPageSwitch.h"
#include "panel/pages/ISubPageFrame.h"

class wxCheckBox;
class CAdvCleanerItemsDlg;
class CAnimatedGifStatic;
class CGifButton;
class CToolTipCtrlEx;

class CAdvCleanerDlg : public CBaseDlg, public ISubPageFrame {
public:
    explicit CAdvCleanerDlg(CServerHost* host = CServerHost::Current());
    ~CAdvCleanerDlg() override;

    const CAdvCleanerModel& Model() const { return *m_pModel; }
    // The template shown (150, 151) or 0.
    int Shown() const { return m_pSwitch ? m_pSwitch->Shown() : 0; }
    CAdvCleanerItemsDlg* SubPage() const;
    wxCheckBox* BrowserExitBox() const { return m_pBrowserExit; }
    wxCheckBox* ProgramExitBox() const { return m_pProgramExit; }
    wxCheckBox* WindowsStartBox() const { return m_pWindowsStart; }
    CGifButton* CleanNowButton() const { return m_pCleanNow; }

    // ISubPageFrame
    void CloseSubPage() override;
    void ShowHeader(unsigned image) override;
    bool CreateSubPage(int code) override;
    void PlaceSubPage() override;
    void Repaint() override;

protected:
    bool OnInitDialog() override;

private:
    void OnBrowserExit();
    void OnWindowsStart();
    void OnProgramExit();
    void OnCleanNow();
    void Arrange();

    std::unique_ptr<CHostPageLink> m_pLink;
    std::unique_ptr<CAdvCleanerModel> m_pModel;
    std::unique_ptr<CSubPageSwitch> m_pSwitch;
    CBaseDlg* m_pSubPage = nullptr;  // a child window, owned by the toolkit
    // Child windows, owned by the toolkit.
    CToolTipCtrlEx* m_pTip = nullptr;
    CAnimatedGifStatic* m_pStrip = nullptr;
    wxCheckBox* m_pBrowserExit = nullptr;
    wxCheckBox* m_pProgramExit = nullptr;
    wxCheckBox* m_pWindowsStart = nullptr;
    CGifButton* m_pCleanNow = nullptr;
    std::array<wxWindow*, 2> m_pZones{};  // system items above, browser items below
};
