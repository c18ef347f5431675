#include "panel/automation/CFilterSwitch.h"

#include "panel/app/CEngineControl.h"
#include "panel/app/CServerHost.h"
#include "settings/CSettings.h"

bool CFilterSwitch::StartOutFilter() { Switch(eSwitch::OutFilter, true); return true; }
bool CFilterSwitch::StopOutFilter() { Switch(eSwitch::OutFilter, false); return true; }
bool CFilterSwitch::StartInFilter() { Switch(eSwitch::InFilter, true); return true; }
bool CFilterSwitch::StopInFilter() { Switch(eSwitch::InFilter, false); return true; }
bool CFilterSwitch::StartPrivacy() { Switch(eSwitch::Privacy, true); return true; }
bool CFilterSwitch::StopPrivacy() { Switch(eSwitch::Privacy, false); return true; }

void CFilterSwitch::Switch(eSwitch which, bool on) {
    if (m_pHost->GetProxyServer() == nullptr) return;

    platform::HWND page;
    platform::UINT notice;
    switch (which) {
    case eSwitch::OutFilter:
        page = m_hOutFilterWnd;
        notice = on ? WM_OUTFILTER_ON : WM_OUTFILTER_OFF;
        break;
    case eSwitch::InFilter:
        page = m_hInFilterWnd;
        notice = on ? WM_INFILTER_ON : WM_INFILTER_OFF;
        break;
    default:
        page = m_hPrivacyWnd;
        notice = on ? WM_PRIVACY_ON : WM_PRIVACY_OFF;
        break;
    }
    if (platform::IsWindow(page)) platform::SendMessage(page, notice, 0, 0);

    // The engine's settings take the change and are written at once.
    CEngineControl& engine = m_pHost->GetEngine();
    CSettings engineSettings = engine.EngineSettings();
    Change(engineSettings, which, on);
    engine.ApplySettings(engineSettings);
    Change(m_pHost->GetSettings(), which, on);
    m_pHost->ApplySettings();
}

void CFilterSwitch::Change(CSettings& settings, eSwitch which, bool on) {
    switch (which) {
    case eSwitch::OutFilter: settings.getFiltrationSettings()->mOutFiltration.SetEnable(on ? 1 : 0); break;
    case eSwitch::InFilter: settings.getFiltrationSettings()->mInFiltration.setEnable(on); break;
    case eSwitch::Privacy: settings.getPrivacySettings()->mEnableIPShielding = on ? 1 : 0; break;
    }
}
