#pragma once
// The platform window through which the engine's notices reach a page: a
// message-only window on the GUI thread whose procedure hands every message
// to the page. It goes with the page, so a destroyed page hears nothing.

#include <functional>

#include "platform/Messages.h"

class CPageMessageWindow {
public:
    using Handler = std::function<void(platform::UINT message, platform::WPARAM wParam)>;

    explicit CPageMessageWindow(Handler handler);
    ~CPageMessageWindow();
    CPageMessageWindow(const CPageMessageWindow&) = delete;
    CPageMessageWindow& operator=(const CPageMessageWindow&) = delete;

    platform::HWND hwnd() const { return m_hWnd; }

private:
    Handler m_Handler;
    platform::HWND m_hWnd;
};
