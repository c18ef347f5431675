#pragma once
// The host's switch for outgoing filtration, incoming filtration and
// privacy, used by the toolbar's requests (through the main window) and by
// the automation object. A switch tells the page that shows it (when that
// page registered its window), changes the engine's settings and the
// panel's working copy, writes the registry and applies.
//
// With no live engine a switch does nothing: there is no engine to apply
// to, and the engine's settings are written only while one runs.
// GUI thread only.

#include "platform/Messages.h"
#include "platform/Types.h"

class CServerHost;
class CSettings;

// Notices to the registered pages (sent, wParam and lParam 0).
inline constexpr platform::UINT WM_INFILTER_ON = 0x8BF;
inline constexpr platform::UINT WM_INFILTER_OFF = 0x8C0;
inline constexpr platform::UINT WM_OUTFILTER_ON = 0x8C1;
inline constexpr platform::UINT WM_OUTFILTER_OFF = 0x8C2;
inline constexpr platform::UINT WM_PRIVACY_ON = 0x8C3;
inline constexpr platform::UINT WM_PRIVACY_OFF = 0x8C4;

class CFilterSwitch {
public:
    explicit CFilterSwitch(CServerHost& host) : m_pHost(&host) {}

    // Each returns true.
    bool StartOutFilter();
    bool StopOutFilter();
    bool StartInFilter();
    bool StopInFilter();
    bool StartPrivacy();
    bool StopPrivacy();

    // The pages register their windows while they exist and clear them
    // (null) when they go.
    void SetInFilterWnd(platform::HWND wnd) { m_hInFilterWnd = wnd; }
    void SetOutFilterWnd(platform::HWND wnd) { m_hOutFilterWnd = wnd; }
    void SetPrivacyWnd(platform::HWND wnd) { m_hPrivacyWnd = wnd; }
    platform::HWND GetInFilterWnd() const { return m_hInFilterWnd; }
    platform::HWND GetOutFilterWnd() const { return m_hOutFilterWnd; }
    platform::HWND GetPrivacyWnd() const { return m_hPrivacyWnd; }

private:
    enum class eSwitch { OutFilter, InFilter, Privacy };
    void Switch(eSwitch which, bool on);
    static void Change(CSettings& settings, eSwitch which, bool on);

    CServerHost* m_pHost;
    platform::HWND m_hInFilterWnd;
    platform::HWND m_hOutFilterWnd;
    platform::HWND m_hPrivacyWnd;
};
