#pragma once
// What the tray icon shows and does, apart from the toolkit: the running
// and stopped forms (icon id, icon picture, right-click menu), the tip and
// balloon texts with their limits, and the answer to a mouse notice. The
// icon id doubles as the id of the menu shown on a right click.

#include <string>
#include <string_view>
#include <vector>

#include "panel/main/PanelCommands.h"
#include "platform/Types.h"

// Icon ids (= menu ids) and icon pictures of the two forms.
inline constexpr platform::UINT IDR_TRAY_RUNNING = 337;
inline constexpr platform::UINT IDR_TRAY_STOPPED = 110;
inline constexpr platform::UINT IDI_TRAY_RUNNING = 2105;
inline constexpr platform::UINT IDI_TRAY_STOPPED = 2106;

struct TrayMenuItem {
    std::string text;     // empty for a separator
    int command = 0;      // 0 for a separator
    bool isDefault = false;
};

struct TrayBalloon {
    std::string title;
    std::string text;
    platform::DWORD timeout = 0;  // ms
};

enum class eTrayAction { None, ShowMenu, RestoreWindow };

class CTrayModel {
public:
    // Mouse messages of the icon's notices (WM_TRAY_NOTIFY).
    static constexpr platform::UINT WM_LBUTTONDBLCLK = 0x0203;
    static constexpr platform::UINT WM_RBUTTONUP = 0x0205;

    static constexpr std::size_t kMaxTip = 127;
    static constexpr std::size_t kMaxBalloonText = 255;
    static constexpr std::size_t kMaxBalloonTitle = 63;
    static constexpr platform::DWORD kDefaultBalloonTimeout = 10000;

    // The menu of a menu resource (337 running, 110 stopped); empty for any
    // other id. The first entry is the default one.
    static std::vector<TrayMenuItem> MenuFor(platform::UINT menuId);
    // Cuts text to at most limit bytes without splitting a character.
    static std::string Cut(std::string_view text, std::size_t limit);

    // Create's record: callback message, tip (cut to 127), icon id and
    // picture.
    void Create(platform::UINT callbackMessage, std::string_view tip, platform::UINT iconId,
                platform::UINT picture);
    // The two forms.
    void SetRunning();
    void SetStopped();
    // Stores whether the last add of the icon succeeded; while false every
    // change of the icon is skipped.
    void SetEnabled(bool enabled) { m_bEnabled = enabled; }
    bool IsEnabled() const { return m_bEnabled; }

    // A mouse notice: wParam the icon id, lParam the mouse message. Returns
    // 0 (and no action) for another icon's notice, 1 otherwise.
    platform::LRESULT OnNotification(platform::WPARAM wParam, platform::LPARAM lParam,
                                     eTrayAction& action) const;

    // The balloon as the icon shows it: title and text cut to their limits.
    TrayBalloon MakeBalloon(std::string_view title, std::string_view text,
                            platform::DWORD timeout) const;

    platform::UINT IconId() const { return m_IconId; }
    platform::UINT IconPicture() const { return m_Picture; }
    platform::UINT CallbackMessage() const { return m_CallbackMessage; }
    const std::string& Tip() const { return m_Tip; }
    std::vector<TrayMenuItem> CurrentMenu() const { return MenuFor(m_IconId); }

private:
    bool m_bEnabled = false;
    platform::UINT m_IconId = IDR_TRAY_RUNNING;
    platform::UINT m_Picture = IDI_TRAY_RUNNING;
    platform::UINT m_CallbackMessage = WM_TRAY_NOTIFY;
    std::string m_Tip;
};
