#pragma once
// The toolbar channel client of one browser process: its thread keeps a
// connection to the engine on 127.0.0.1, turns every 5-byte notice into a
// message posted to the registered toolbar windows, and the windows send
// their 2-byte requests through it. It also starts the control panel.
//
// Locks: m_WindowsCS guards the window list and each posting pass;
// m_SocketCS guards the socket for every send, receive and close. Neither
// is held while the other is taken.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/Messages.h"
#include "platform/SocketHandle.h"
#include "toolbar/BandMessages.h"
#include "toolbar/CKVDeskInfo.h"
#include "toolbar/CThreadBase.h"

class CToolbarClnt : public CThreadBase {
public:
    // How long Launch waits for a started control panel to settle.
    static constexpr platform::DWORD kPanelIdleLimitMs = 5000;
    // Pause between connection attempts while the engine does not answer.
    static constexpr platform::DWORD kReconnectMs = 2000;

    CToolbarClnt();
    ~CToolbarClnt() override;

    // The one client of the process, shared by its toolbars.
    static CToolbarClnt& Shared();

    // CThreadBase
    bool Stop() override;
    int Run() override;

    // Requests: what send gave, 0 while disconnected; nothing is queued.
    int StopServer();
    int QueryServerState();
    int QueryInFilter();
    int QueryOutFilter();
    int QueryPrivacy();
    int OutFilter(bool on);
    int InFilter(bool on);
    int PrivacyChain(bool on);
    // 10, 11, 12, then 3.
    void QueryAll();

    // Registers a window and sends it the current states (QueryAll).
    void AddWindow(platform::HWND window);
    void RemoveWindow(platform::HWND window);
    void PostToAll(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);

    // Asks a running control panel to start the engine; otherwise starts
    // the panel, waits (bounded) until it is idle and connects afresh.
    int Launch();
    // Whether a process of the control panel's program runs.
    bool IsPanelRunning() const;

    // Where Launch finds the control panel; by default the folder of this
    // library and the name of CKVDeskInfo. Tests point it elsewhere.
    void SetPanelProgram(const std::filesystem::path& folder, const std::string& fileName);
    const CKVDeskInfo& PanelInfo() const { return m_PanelInfo; }

private:
    int SendRequest(std::uint8_t command);
    bool Connect(const char* host, platform::UINT port);
    // Bytes received (whole notices dispatched, a partial one kept), or -1
    // when the connection ended or a stop came.
    int Receive();
    void DispatchNotice(const std::uint8_t* notice);
    bool SocketOpen();
    // Closes the socket when open; in every case tells the windows the link
    // is lost.
    void CloseSocket();

    std::mutex m_WindowsCS;
    std::vector<platform::HWND> m_Windows;
    std::recursive_mutex m_SocketCS;
    platform::SOCKET m_Socket = platform::INVALID_SOCKET;
    // Received bytes of notices not yet whole (client thread only).
    std::uint8_t m_Buffer[kToolbarNoticeSize * 64] = {};
    int m_nBuffered = 0;
    CKVDeskInfo m_PanelInfo;
    std::filesystem::path m_PanelFolder;
};
