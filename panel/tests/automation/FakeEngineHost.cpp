#include "FakeEngineHost.h"

#include <mutex>

#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"

namespace autotest {

RecordingEngine::RecordingEngine() : m_pServer(std::make_unique<CProxyServer>()) {}

RecordingEngine::~RecordingEngine() = default;

RecordingHost::RecordingHost()
    : CServerHost(std::make_unique<RecordingEngine>()), engine(static_cast<RecordingEngine&>(GetEngine())) {}

RecordingWindow::RecordingWindow()
    : m_hWnd(platform::CreateMessageWindow("RecordingWindow", "", [this](platform::HWND hwnd, platform::UINT message,
                                                                          platform::WPARAM wParam,
                                                                          platform::LPARAM lParam) {
          if (message != platform::WM_DESTROY) messages.push_back(message);
          return platform::DefWindowProc(hwnd, message, wParam, lParam);
      })) {}

RecordingWindow::~RecordingWindow() { platform::DestroyWindow(m_hWnd); }

void ResetEngineSettings() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    CBaseServer::mSettings = CSettings();
}

}  // namespace autotest
