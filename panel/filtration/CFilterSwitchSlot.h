#pragma once
// The message window of a page that fills one of CFilterSwitch's slots
// while the page exists. The slot's on / off notices reach the page as one
// call with the new state; going away clears the slot when it still holds
// this window, so the switch never reaches a page that is gone.

#include <functional>
#include <memory>

#include "platform/Messages.h"

class CFilterSwitch;
class CPageMessageWindow;

class CFilterSwitchSlot {
public:
    enum class eSlot { InFilter, OutFilter, Privacy };
    using Handler = std::function<void(bool on)>;

    CFilterSwitchSlot(CFilterSwitch& filterSwitch, eSlot slot, Handler onSwitch);
    ~CFilterSwitchSlot();
    CFilterSwitchSlot(const CFilterSwitchSlot&) = delete;
    CFilterSwitchSlot& operator=(const CFilterSwitchSlot&) = delete;

    platform::HWND hwnd() const;

private:
    platform::HWND Held() const;
    void Hold(platform::HWND wnd);

    CFilterSwitch& m_Switch;
    const eSlot m_Slot;
    std::unique_ptr<CPageMessageWindow> m_pWindow;
};
