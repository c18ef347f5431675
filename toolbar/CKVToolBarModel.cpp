#include "toolbar/CKVToolBarModel.h"

#include <cstdio>
#include <mutex>

#include "toolbar/BandMessages.h"
#include "toolbar/ToolBarIds.h"

namespace {

using namespace toolbar_ids;

constexpr int kLastCounter = 10;

// Toolbars of one process may live on several window threads.
std::mutex gLiveCS;  // guards gLive
int gLive = 0;

}  // namespace

int CKVToolBarModel::FramePicture(int counter) {
    if (counter >= 0 && counter < kLastCounter) return kFirstFramePicture + 1 + counter;
    return kFirstFramePicture;
}

std::string CKVToolBarModel::TotalText(std::uint32_t total) {
    constexpr double kMega = 1024.0 * 1024.0;
    char text[64];
    if (total > kMega) {
        std::snprintf(text, sizeof text, "%.1f MB", total / kMega);
    } else if (total > 1024) {
        std::snprintf(text, sizeof text, "%.1f KB", total / 1024.0);
    } else {
        std::snprintf(text, sizeof text, "%.1f B", static_cast<double>(total));
    }
    return text;
}

int CKVToolBarModel::LiveToolBars() {
    std::lock_guard lock(gLiveCS);
    return gLive;
}

CKVToolBarModel::CKVToolBarModel(CToolbarClnt& client) : m_Client(client) {}

CKVToolBarModel::~CKVToolBarModel() {
    Detach();
}

bool CKVToolBarModel::Attach() {
    if (m_bAttached) return true;
    m_hWnd = platform::CreateMessageWindow(
        "CKVToolBarCtrl", "", [this](platform::HWND h, platform::UINT m, platform::WPARAM w, platform::LPARAM l) {
            return WindowProc(h, m, w, l);
        });
    if (!m_hWnd) return false;
    {
        std::lock_guard lock(gLiveCS);
        if (gLive == 0 || !m_Client.IsRunning()) m_Client.Start();
        ++gLive;
    }
    m_bAttached = true;
    m_Client.AddWindow(m_hWnd);
    m_bConnected = m_Client.IsPanelRunning();
    SwitchesOff();
    m_nRunning = 0;
    Step(m_nReceivedFrame);
    Step(m_nSentFrame);
    Changed();
    return true;
}

void CKVToolBarModel::Detach() {
    if (!m_bAttached) return;
    m_bAttached = false;
    m_Client.RemoveWindow(m_hWnd);
    {
        std::lock_guard lock(gLiveCS);
        if (gLive == 1) m_Client.Stop();
        --gLive;
    }
    platform::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

platform::LRESULT CKVToolBarModel::WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                               platform::LPARAM lParam) {
    switch (message) {
    case WM_BAND_STATUS:
        OnStatus(wParam);
        return 0;
    case WM_BAND_DATA_IN:
        OnReceived(wParam);
        return 0;
    case WM_BAND_DATA_OUT:
        OnSent(wParam);
        return 0;
    case WM_BAND_BUTTON:
        OnCommand(wParam);
        return 0;
    default:
        return platform::DefWindowProc(hwnd, message, wParam, lParam);
    }
}

void CKVToolBarModel::OnStatus(platform::WPARAM status) {
    switch (status) {
    case TB_STATUS_RUNNING:
        m_nRunning = 1;
        m_bConnected = true;
        break;
    case TB_STATUS_STOPPED:
        m_nRunning = 0;
        m_nReceivedFrame = kLastCounter;
        m_nSentFrame = kLastCounter;
        platform::PostMessage(m_hWnd, WM_BAND_DATA_IN, 0, 0);
        platform::PostMessage(m_hWnd, WM_BAND_DATA_OUT, 0, 0);
        break;
    case BAND_STATUS_LINK_LOST:
        m_bConnected = false;
        m_nRunning = 0;
        SwitchesOff();
        break;
    case TB_OUT_FILTER_IS_ON:
    case TB_OUT_FILTER_IS_OFF:
        m_nOutgoing = status == TB_OUT_FILTER_IS_ON;
        break;
    case TB_IN_FILTER_IS_ON:
    case TB_IN_FILTER_IS_OFF:
        m_nIncoming = status == TB_IN_FILTER_IS_ON;
        break;
    case TB_PRIVACY_IS_ON:
    case TB_PRIVACY_IS_OFF:
        m_nPrivacy = status == TB_PRIVACY_IS_ON;
        break;
    default:
        return;
    }
    Changed();
}

void CKVToolBarModel::OnReceived(platform::WPARAM total) {
    if (!m_bConnected) return;
    m_ReceivedText = TotalText(static_cast<std::uint32_t>(total));
    Step(m_nReceivedFrame);
    Changed();
}

void CKVToolBarModel::OnSent(platform::WPARAM total) {
    if (!m_bConnected) return;
    m_SentText = TotalText(static_cast<std::uint32_t>(total));
    Step(m_nSentFrame);
    Changed();
}

// The flags change only when the engine's notice comes back.
void CKVToolBarModel::OnCommand(platform::WPARAM command) {
    switch (command) {
    case kCmdLogo:
        if (m_OnLogo) m_OnLogo();
        break;
    case kCmdEngine:
        if (m_nRunning == 1) {
            m_Client.StopServer();
        } else {
            m_Client.Launch();
        }
        break;
    case kCmdIncoming:
        m_Client.InFilter(m_nIncoming != 1);
        break;
    case kCmdOutgoing:
        m_Client.OutFilter(m_nOutgoing != 1);
        break;
    case kCmdPrivacy:
        m_Client.PrivacyChain(m_nPrivacy != 1);
        break;
    default:
        break;
    }
}

void CKVToolBarModel::Step(int& counter) {
    counter = counter == kLastCounter ? 0 : counter + 1;
}

void CKVToolBarModel::SwitchesOff() {
    m_nIncoming = 0;
    m_nOutgoing = 0;
    m_nPrivacy = 0;
}

void CKVToolBarModel::Changed() {
    if (m_OnChange) m_OnChange();
}
