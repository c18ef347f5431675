#include "panel/automation/ProxyControl.h"

#include <algorithm>

#include "panel/app/CEngineControl.h"
#include "panel/app/CServerHost.h"
#include "panel/automation/CFilterSwitch.h"
#include "settings/CSettings.h"

using platform::HRESULT;
using platform::S_OK;

bool ProxyControl::EngineLive() const { return m_pHost->GetProxyServer() != nullptr; }

HRESULT ProxyControl::StartProxy() {
    if (EngineLive()) m_pHost->StartServer();
    return S_OK;
}

HRESULT ProxyControl::StopProxy() {
    if (EngineLive()) m_pHost->StopServer();
    return S_OK;
}

HRESULT ProxyControl::GetProxyStatus(std::int16_t& state) const {
    state = EngineLive() && m_pHost->GetEngine().IsRunning() ? 0 : 1;
    return S_OK;
}

HRESULT ProxyControl::FireDataArrive(std::int32_t iAmount) {
    Fire([iAmount](IProxyControlEvents& sink) { return sink.DataArrive(iAmount); });
    return S_OK;
}

HRESULT ProxyControl::FireDataSent(std::int32_t iAmount) {
    Fire([iAmount](IProxyControlEvents& sink) { return sink.DataSent(iAmount); });
    return S_OK;
}

HRESULT ProxyControl::FireProxyStatusChange(std::int16_t state) {
    if (EngineLive()) {
        if (state == 1) m_pHost->OnServerStopped();
        else if (state == 0) m_pHost->OnServerStarted();
    }
    Fire([state](IProxyControlEvents& sink) { return sink.ProxyStatusChange(state); });
    return S_OK;
}

HRESULT ProxyControl::StartOutFilter() { m_pHost->GetFilterSwitch().StartOutFilter(); return S_OK; }
HRESULT ProxyControl::StopOutFilter() { m_pHost->GetFilterSwitch().StopOutFilter(); return S_OK; }
HRESULT ProxyControl::StartInFilter() { m_pHost->GetFilterSwitch().StartInFilter(); return S_OK; }
HRESULT ProxyControl::StopInFilter() { m_pHost->GetFilterSwitch().StopInFilter(); return S_OK; }
HRESULT ProxyControl::StartPrivacy() { m_pHost->GetFilterSwitch().StartPrivacy(); return S_OK; }
HRESULT ProxyControl::StopPrivacy() { m_pHost->GetFilterSwitch().StopPrivacy(); return S_OK; }

HRESULT ProxyControl::GetInFilterStatus(std::int16_t& state) const {
    state = InFilterStatus(m_pHost->GetEngine().EngineSettings());
    return S_OK;
}

HRESULT ProxyControl::GetOutFilterStatus(std::int16_t& state) const {
    state = OutFilterStatus(m_pHost->GetEngine().EngineSettings());
    return S_OK;
}

HRESULT ProxyControl::GetPrivacyStatus(std::int16_t& state) const {
    state = PrivacyStatus(m_pHost->GetEngine().EngineSettings());
    return S_OK;
}

std::int16_t ProxyControl::InFilterStatus(const CSettings& settings) {
    return settings.getFiltrationSettings()->mInFiltration.getEnable() ? 7 : 8;
}

std::int16_t ProxyControl::OutFilterStatus(const CSettings& settings) {
    return settings.getFiltrationSettings()->mOutFiltration.IsEnable() > 0 ? 5 : 6;
}

std::int16_t ProxyControl::PrivacyStatus(const CSettings& settings) {
    return settings.getPrivacySettings()->mEnableIPShielding != 0 ? 9 : 10;
}

platform::DWORD ProxyControl::Advise(IProxyControlEvents* sink) {
    const platform::DWORD cookie = m_NextCookie++;
    m_Sinks.emplace_back(cookie, sink);
    return cookie;
}

bool ProxyControl::Unadvise(platform::DWORD cookie) {
    const auto found = std::find_if(m_Sinks.begin(), m_Sinks.end(),
                                    [cookie](const auto& entry) { return entry.first == cookie; });
    if (found == m_Sinks.end()) return false;
    m_Sinks.erase(found);
    return true;
}

template <class Call>
HRESULT ProxyControl::Fire(Call call) {
    // A sink may advise or unadvise while it is called: walk the cookies of
    // this moment and call only those still connected.
    std::vector<platform::DWORD> cookies;
    for (const auto& entry : m_Sinks) cookies.push_back(entry.first);
    HRESULT result = S_OK;
    for (const platform::DWORD cookie : cookies) {
        const auto found = std::find_if(m_Sinks.begin(), m_Sinks.end(),
                                        [cookie](const auto& entry) { return entry.first == cookie; });
        if (found != m_Sinks.end() && found->second != nullptr) result = call(*found->second);
    }
    return result;
}
