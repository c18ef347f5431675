#include "panel/tray/CTrayModel.h"

#include <array>

namespace {

struct MenuRow {
    platform::UINT menu;
    const char* text;
    int command;
};

// Both menus: the switch of the relay first (the default entry), then help,
// a separator and exit.
constexpr std::array kMenus{
    MenuRow{IDR_TRAY_RUNNING, "Stop", kCmdStopServer},
    MenuRow{IDR_TRAY_RUNNING, "Help", kCmdShowHelp},
    MenuRow{IDR_TRAY_RUNNING, "", 0},
    MenuRow{IDR_TRAY_RUNNING, "Exit", kCmdExit},
    MenuRow{IDR_TRAY_STOPPED, "Start", kCmdStartServer},
    MenuRow{IDR_TRAY_STOPPED, "Help", kCmdShowHelp},
    MenuRow{IDR_TRAY_STOPPED, "", 0},
    MenuRow{IDR_TRAY_STOPPED, "Exit", kCmdExit},
};

}  // namespace

std::vector<TrayMenuItem> CTrayModel::MenuFor(platform::UINT menuId) {
    std::vector<TrayMenuItem> items;
    for (const MenuRow& row : kMenus) {
        if (row.menu != menuId) continue;
        items.push_back({row.text, row.command, items.empty()});
    }
    return items;
}

std::string CTrayModel::Cut(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t end = limit;
    // Step back over continuation bytes so that no UTF-8 sequence is split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

void CTrayModel::Create(platform::UINT callbackMessage, std::string_view tip, platform::UINT iconId,
                        platform::UINT picture) {
    m_CallbackMessage = callbackMessage;
    m_Tip = Cut(tip, kMaxTip);
    m_IconId = iconId;
    m_Picture = picture;
}

void CTrayModel::SetRunning() {
    m_IconId = IDR_TRAY_RUNNING;
    m_Picture = IDI_TRAY_RUNNING;
}

void CTrayModel::SetStopped() {
    m_IconId = IDR_TRAY_STOPPED;
    m_Picture = IDI_TRAY_STOPPED;
}

platform::LRESULT CTrayModel::OnNotification(platform::WPARAM wParam, platform::LPARAM lParam,
                                             eTrayAction& action) const {
    action = eTrayAction::None;
    if (wParam != m_IconId) return 0;
    if (lParam == WM_RBUTTONUP) action = eTrayAction::ShowMenu;
    else if (lParam == WM_LBUTTONDBLCLK) action = eTrayAction::RestoreWindow;
    return 1;
}

TrayBalloon CTrayModel::MakeBalloon(std::string_view title, std::string_view text,
                                    platform::DWORD timeout) const {
    return {Cut(title, kMaxBalloonTitle), Cut(text, kMaxBalloonText), timeout};
}
