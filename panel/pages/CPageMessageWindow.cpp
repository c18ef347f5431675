#include "panel/pages/CPageMessageWindow.h"

CPageMessageWindow::CPageMessageWindow(Handler handler) : m_Handler(std::move(handler)) {
    m_hWnd = platform::CreateMessageWindow(
        "KVDeskPage", "",
        [this](platform::HWND, platform::UINT message, platform::WPARAM wParam,
               platform::LPARAM) -> platform::LRESULT {
            if (m_Handler) m_Handler(message, wParam);
            return 0;
        });
}

CPageMessageWindow::~CPageMessageWindow() {
    // The window's own destroy notice must not reach a page that is going.
    m_Handler = nullptr;
    platform::DestroyWindow(m_hWnd);
}
