#pragma once
// The main window's logic without widgets: the modified flag and change
// kind, the tab records and their pictures, the tab commands, the caption
// strip and Apply's checks.

#include <array>
#include <optional>
#include <string>

#include "settings/CSettings.h"

class CMainDlgModel {
public:
    struct Tab {
        int control;
        int page;
        unsigned normalImage;
        unsigned selectedImage;
        bool selected;
    };
    static constexpr int kTabCount = 5;

    // What a press in the client area does besides dragging the window.
    enum class Click { Drag, Exit, HideToTray };
    // The caption strip: presses at y <= kStripBottom run its buttons, exit
    // from x kExitLeft on, hide to the tray from kHideLeft to kHideRight.
    static constexpr int kStripBottom = 20;
    static constexpr int kExitLeft = 540;
    static constexpr int kHideLeft = 500;
    static constexpr int kHideRight = 535;

    // Apply's verdict on the working settings.
    struct ApplyCheck {
        bool ok = true;
        std::string message;       // empty when ok
        bool appMessageBox = false; // the application's standard box (no caption)
    };

    CMainDlgModel();

    // Stores the flag; a true flag records the kind.
    void SetModified(bool modified, int kind);
    bool IsModified() const { return m_bModified; }
    // -1 until the first SetModified(true, kind).
    int ChangeKind() const { return m_nChangeKind; }
    unsigned ApplyImage() const;

    // Tab selection at start-up: every tab gets its picture. False when
    // index is already current.
    bool SelectTab(int index);
    // Tab selection from a tab command: only the old and new tab change.
    bool SelectTabFromCommand(int index);
    int CurrentTab() const { return m_nCurrentTab; }
    const Tab& TabAt(int index) const { return m_Tabs.at(static_cast<std::size_t>(index)); }
    unsigned TabImage(int index) const;
    // The tab index of a tab control (1221, 1223..1226), if it is one.
    static std::optional<int> TabOfControl(int control);

    static Click ClickAt(int x, int y);

    static ApplyCheck CheckApply(const CSettings& settings);
    // Whether Apply turns the protection level to custom.
    bool ApplySetsCustomLevel() const { return m_nChangeKind == 0; }

private:
    bool m_bModified = false;
    int m_nChangeKind = -1;
    int m_nCurrentTab = -1;
    std::array<Tab, kTabCount> m_Tabs;
};
