#pragma once
// What the toolbar shows, apart from its widgets: the engine's state as
// the channel client's notices tell it, the byte totals as text, the
// animation frames, and the requests its buttons send. It owns the
// platform window registered with the client; the notices and the buttons'
// WM_BAND_BUTTON posts reach it there, on the thread that attached it.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Messages.h"
#include "toolbar/CToolbarClnt.h"

class CKVToolBarModel {
public:
    // Picture number of an animation counter: 0..9 give 329..338, 10 gives 328.
    static int FramePicture(int counter);
    // "%.1f MB" above 2^20, "%.1f KB" above 1024, else "%.1f B".
    static std::string TotalText(std::uint32_t total);
    // Toolbars attached in this process.
    static int LiveToolBars();

    explicit CKVToolBarModel(CToolbarClnt& client = CToolbarClnt::Shared());
    ~CKVToolBarModel();
    CKVToolBarModel(const CKVToolBarModel&) = delete;
    CKVToolBarModel& operator=(const CKVToolBarModel&) = delete;

    // Makes the window, starts the client when this is the first toolbar or
    // it is idle, registers the window (the client then queries the
    // states), takes `connected` from the control panel process check and
    // shows the first looks: everything off, one animation step each.
    bool Attach();
    // Unregisters; the last toolbar of the process stops the client.
    void Detach();

    // Called after every change of what is shown.
    void SetChangeHandler(std::function<void()> onChange) { m_OnChange = std::move(onChange); }
    // What the logo button does (open the maker's page).
    void SetLogoHandler(std::function<void()> onLogo) { m_OnLogo = std::move(onLogo); }

    platform::HWND hwnd() const { return m_hWnd; }
    const CKVDeskInfo& PanelInfo() const { return m_Client.PanelInfo(); }
    bool connected() const { return m_bConnected; }
    int running() const { return m_nRunning; }
    int incoming() const { return m_nIncoming; }
    int outgoing() const { return m_nOutgoing; }
    int privacy() const { return m_nPrivacy; }
    const std::string& ReceivedText() const { return m_ReceivedText; }
    const std::string& SentText() const { return m_SentText; }
    int ReceivedFrame() const { return FramePicture(m_nReceivedFrame); }
    int SentFrame() const { return FramePicture(m_nSentFrame); }

    // The handlers of the window's messages.
    void OnStatus(platform::WPARAM status);
    void OnReceived(platform::WPARAM total);
    void OnSent(platform::WPARAM total);
    void OnCommand(platform::WPARAM command);

private:
    platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam);
    // 10 wraps to 0, else one up.
    static void Step(int& counter);
    void SwitchesOff();
    void Changed();

    CToolbarClnt& m_Client;
    platform::HWND m_hWnd;
    bool m_bAttached = false;
    bool m_bConnected = false;
    int m_nRunning = 0;
    int m_nIncoming = 0;
    int m_nOutgoing = 0;
    int m_nPrivacy = 0;
    int m_nReceivedFrame = -1;
    int m_nSentFrame = -1;
    std::string m_ReceivedText;
    std::string m_SentText;
    std::function<void()> m_OnChange;
    std::function<void()> m_OnLogo;
};
