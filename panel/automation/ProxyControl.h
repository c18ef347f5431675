#pragma once
// The automation object: an outside program starts and stops the relay,
// switches the filters and privacy, asks for their states and receives the
// events DataArrive, DataSent and ProxyStatusChange. It is served on the
// session bus by CProxyControlServer; this class is what the calls do.
//
// With no live engine the relay commands and the switches do nothing and
// the relay's state reads "stopped" (1). GUI thread only.

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Types.h"

class CServerHost;
class CSettings;

// The event interface (_IProxyControlEvents); DISPIDs 1, 2, 3.
class IProxyControlEvents {
public:
    virtual ~IProxyControlEvents() = default;
    virtual platform::HRESULT DataArrive(std::int32_t iAmount) = 0;
    virtual platform::HRESULT DataSent(std::int32_t iAmount) = 0;
    virtual platform::HRESULT ProxyStatusChange(std::int16_t state) = 0;
};

class ProxyControl {
public:
    explicit ProxyControl(CServerHost& host) : m_pHost(&host) {}

    // IProxyControl; every operation returns S_OK.
    platform::HRESULT StartProxy();
    platform::HRESULT StopProxy();
    // 0 while the engine runs, else 1.
    platform::HRESULT GetProxyStatus(std::int16_t& state) const;
    platform::HRESULT FireDataArrive(std::int32_t iAmount);
    platform::HRESULT FireDataSent(std::int32_t iAmount);
    // 1 runs the host's stopped notice, 0 its started notice (both only with
    // a live engine); then the event is fired with state.
    platform::HRESULT FireProxyStatusChange(std::int16_t state);
    platform::HRESULT StartOutFilter();
    platform::HRESULT StopOutFilter();
    platform::HRESULT StartInFilter();
    platform::HRESULT StopInFilter();
    // 7 / 8, 5 / 6 and 9 / 10: the states the toolbar is sent.
    platform::HRESULT GetInFilterStatus(std::int16_t& state) const;
    platform::HRESULT GetOutFilterStatus(std::int16_t& state) const;
    platform::HRESULT GetPrivacyStatus(std::int16_t& state) const;
    platform::HRESULT StartPrivacy();
    platform::HRESULT StopPrivacy();

    // The connection point: sinks are called in the order they advised.
    // Advise returns the cookie (never 0) that Unadvise takes.
    platform::DWORD Advise(IProxyControlEvents* sink);
    bool Unadvise(platform::DWORD cookie);

    // The states of a settings object.
    static std::int16_t InFilterStatus(const CSettings& settings);
    static std::int16_t OutFilterStatus(const CSettings& settings);
    static std::int16_t PrivacyStatus(const CSettings& settings);

private:
    bool EngineLive() const;
    template <class Call>
    platform::HRESULT Fire(Call call);

    CServerHost* m_pHost;
    std::vector<std::pair<platform::DWORD, IProxyControlEvents*>> m_Sinks;
    platform::DWORD m_NextCookie = 1;
};
