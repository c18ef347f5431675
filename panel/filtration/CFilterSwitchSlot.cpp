#include "panel/filtration/CFilterSwitchSlot.h"

#include "panel/automation/CFilterSwitch.h"
#include "panel/pages/CPageMessageWindow.h"

CFilterSwitchSlot::CFilterSwitchSlot(CFilterSwitch& filterSwitch, eSlot slot, Handler onSwitch)
    : m_Switch(filterSwitch), m_Slot(slot) {
    struct Notices {
        platform::UINT on, off;
    };
    const Notices notices = slot == eSlot::InFilter    ? Notices{WM_INFILTER_ON, WM_INFILTER_OFF}
                            : slot == eSlot::OutFilter ? Notices{WM_OUTFILTER_ON, WM_OUTFILTER_OFF}
                                                       : Notices{WM_PRIVACY_ON, WM_PRIVACY_OFF};
    m_pWindow = std::make_unique<CPageMessageWindow>(
        [notices, onSwitch = std::move(onSwitch)](platform::UINT message, platform::WPARAM) {
            if (message == notices.on || message == notices.off) onSwitch(message == notices.on);
        });
    Hold(m_pWindow->hwnd());
}

CFilterSwitchSlot::~CFilterSwitchSlot() {
    if (Held() == m_pWindow->hwnd()) Hold(platform::HWND());
}

platform::HWND CFilterSwitchSlot::hwnd() const { return m_pWindow->hwnd(); }

platform::HWND CFilterSwitchSlot::Held() const {
    switch (m_Slot) {
    case eSlot::InFilter: return m_Switch.GetInFilterWnd();
    case eSlot::OutFilter: return m_Switch.GetOutFilterWnd();
    case eSlot::Privacy: break;
    }
    return m_Switch.GetPrivacyWnd();
}

void CFilterSwitchSlot::Hold(platform::HWND wnd) {
    switch (m_Slot) {
    case eSlot::InFilter: m_Switch.SetInFilterWnd(wnd); return;
    case eSlot::OutFilter: m_Switch.SetOutFilterWnd(wnd); return;
    case eSlot::Privacy: m_Switch.SetPrivacyWnd(wnd); return;
    }
}
