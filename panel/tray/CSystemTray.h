#pragma once
// The control panel's notification-area icon. The host owns one; the main
// window creates the icon during its initialisation (running form, menu
// 337), the engine's notices switch it between its running and stopped
// forms, and the main window sends the engine's balloon texts. The
// right-click menu is built from the current form each time it opens; its
// commands reach the owner window as wxEVT_MENU events with the command id
// (32782 start, 32779 stop, 32776 help, 32777 exit), posted, so that they
// run after the menu has closed. A double click restores the owner.
//
// The icon is a wxTaskBarIcon, balloons are wxNotificationMessages. Where
// the desktop has no notification area the icon object still exists and
// the forms are still followed. GUI thread only.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "panel/tray/CTrayModel.h"
#include "platform/Types.h"

#include <wx/icon.h>

class wxMenu;
class wxWindow;
class CTrayIconWidget;

class CSystemTray {
public:
    CSystemTray();
    ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // owner receives the menu commands and is restored on a double click.
    // The panel passes WM_TRAY_NOTIFY, "Kavelin 2.2 Professional", the
    // running icon IDI_TRAY_RUNNING and menu IDR_TRAY_RUNNING. Returns
    // whether the icon was added.
    bool Create(wxWindow* owner, platform::UINT callbackMessage, std::string_view tip,
                platform::UINT icon, platform::UINT menuId);
    // Running form (icon id 337, picture 2105) and stopped form (110, 2106):
    // the icon is removed and added again; skipped while not enabled.
    void SetRunning();
    void SetStopped();
    // Shows the balloon (title cut to 63, text to 255); false while the icon
    // is not enabled.
    bool ShowBalloon(std::string_view title, std::string_view text,
                     platform::DWORD timeout = CTrayModel::kDefaultBalloonTimeout);
    // The program's icon pictures (GIF 2105 running, 2106 stopped), which the
    // main window shows too; an empty icon for another number.
    static wxIcon IconOf(platform::UINT picture);
    // Removes the icon (also done by the destructor).
    void RemoveIcon();

    // The mouse notice (wParam icon id, lParam WM_RBUTTONUP or
    // WM_LBUTTONDBLCLK); 0 for another icon's notice.
    platform::LRESULT OnTrayNotification(platform::WPARAM wParam, platform::LPARAM lParam);

    // What a chosen menu item does: posts its command to the owner (to the
    // application once the owner is gone).
    void PostMenuCommand(int command);

    bool IsEnabled() const { return m_Model.IsEnabled(); }
    bool IsCreated() const { return m_pIcon != nullptr; }
    const CTrayModel& GetModel() const { return m_Model; }
    // Null before Create and once the owner window is gone.
    wxWindow* GetOwner() const;
    // The menu of the current form, as a right click shows it. The
    // toolkit takes item ids below 0x7FFF only, so an item's id is its
    // command moved down into that range.
    std::unique_ptr<wxMenu> BuildMenu() const;
    static constexpr int kMenuIdOffset = 30000;
    static int CommandOfMenuItem(int itemId) { return itemId + kMenuIdOffset; }

    // Where balloons go; by default a wxNotificationMessage. Tests put a
    // recorder here.
    using BalloonPresenter = std::function<void(const TrayBalloon&)>;
    void SetBalloonPresenter(BalloonPresenter presenter) { m_Presenter = std::move(presenter); }

private:
    friend class CTrayIconWidget;
    void AddIcon();
    void RestoreOwner();

    CTrayModel m_Model;
    std::unique_ptr<CTrayIconWidget> m_pIcon;
    BalloonPresenter m_Presenter;
};
