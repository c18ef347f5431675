#pragma once
// The control panel's main window: a caption-less, skinned modal dialog
// with five picture tabs (General, Advanced, Proxy, Activity, Help), Apply
// and Close pictures, and a frame holding exactly one page at a time.
//
// The engine posts its notices to the window's platform message window
// (GetMessageWindow, attached with CBaseServer::AttachView); its procedure
// runs them on the GUI thread in order.

#include <array>
#include <memory>
#include <mutex>

#include <wx/gdicmn.h>

#include "panel/main/CAppNotifier.h"
#include "panel/main/CMainDlgModel.h"
#include "platform/Messages.h"

class wxDC;
class wxTimer;
class CAnimatedGifStatic;
class CBaseDlg;
class CPictureImage;
class CToolTipCtrlEx;

class CMainDlg : public CAppNotifier {
public:
    // The page kinds, indexes of the page slots.
    enum PageKind { kGeneral, kAdvanced, kProxy, kActivity, kHelp, kPageKinds };

    explicit CMainDlg(CServerHost* host = CServerHost::Current());
    ~CMainDlg() override;

    // Makes the window (template 552).
    bool Create(wxWindow* parent = nullptr);

    // Pages call it after they changed the host's working settings: kind 0
    // an ordinary change (Apply then sets the protection level to custom),
    // 1..4 a preset button, 5 a General-page setting.
    void SetModified(bool modified, int kind);
    bool IsModified() const { return m_Model.IsModified(); }
    // Checks the working settings and hands them to the engine (under the
    // window's lock).
    void Apply();
    // Destroys the current page and shows the page of templateId.
    void ShowPage(int templateId);
    void SelectTab(int index);

    CBaseDlg* GetCurrentPage() const { return m_pCurrentPage; }
    CBaseDlg* GetPage(PageKind kind) const { return m_Pages[kind]; }
    const CMainDlgModel& Model() const { return m_Model; }
    // The tips of the tabs, Apply and Close.
    CToolTipCtrlEx* GetTipCtrl() const { return m_pToolTip; }
    // The handle the engine and the host post to; null once the window was
    // destroyed.
    platform::HWND GetMessageWindow() const { return m_hMessageWnd; }

    // The exit road: tray and General page to stopped, the engine stop, and
    // 200 ms later the client programs' settings restored and the end.
    void OnCancel() override;
    // Destroys the current page, then stops the engine's notices (the
    // message window goes); Destroy does this first as well.
    void DestroyWindow();
    bool Destroy() override;
    // Hiding keeps the modal loop running: the toolkit would end a modal
    // dialog that is hidden, and hiding to the tray must not end the panel
    // (only the exit road ends its modal loop).
    bool Show(bool show = true) override;
    // The end of the user's session: the system browser gets its own
    // settings back; the engine goes on. True: the session may end.
    bool OnQueryEndSession();

private:
    bool OnInitDialog() override;
    void BuildControls();
    platform::LRESULT OnPlatformMessage(platform::UINT message, platform::WPARAM wParam,
                                        platform::LPARAM lParam);
    void OnServerNotice(bool started);
    void OnBalloon();
    // The pictures' commands: tabs, Apply 1222, Close 1227.
    void OnControlClicked(int control);
    // Command 32778: the window back from the tray, with the Help page.
    void OnRestoreHelp();
    void OnLeftDown(int x, int y);
    void OnExitTimer();
    void DestroyCurrentPage();
    void PlacePage(CBaseDlg* page);
    void DrawImage(CAnimatedGifStatic* control, unsigned gifId);
    void DrawTabs();
    void PaintCaptionStrip(wxDC& dc) const;
    void ApplyLocked();

    CMainDlgModel m_Model;
    std::recursive_mutex m_Lock;
    CBaseDlg* m_pCurrentPage = nullptr;  // a child window, owned by the toolkit
    std::array<CBaseDlg*, kPageKinds> m_Pages{};
    // Child windows, owned by the toolkit.
    CToolTipCtrlEx* m_pToolTip = nullptr;
    CAnimatedGifStatic* m_pApply = nullptr;
    CAnimatedGifStatic* m_pClose = nullptr;
    std::array<CAnimatedGifStatic*, CMainDlgModel::kTabCount> m_TabControls{};
    std::unique_ptr<CPictureImage> m_pBackground;
    wxWindow* m_pPageFrame = nullptr;
    std::unique_ptr<wxTimer> m_pExitTimer;
    bool m_bExiting = false;
    wxPoint m_DragOffset;
    platform::HWND m_hMessageWnd;
};
