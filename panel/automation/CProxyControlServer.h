#pragma once
// Serves the automation object on the session bus: one ProxyControl for the
// host, exported at /KVDesk/ProxyControl with the interface
// KVDesk.IProxyControl (methods as the object's operations, its events as
// signals), under the well-known name KVDesk.ProxyControl. The instance
// that runs the engine takes the name from a window-less one, which waits
// in the name's queue meanwhile; a second panel queues behind the first.
// Every instance is reachable by its unique name.
//
// The object is registered from the GUI thread, so method calls are
// dispatched by the GLib main loop that the toolkit runs: they land on the
// GUI thread between other events.

#include <memory>
#include <string>
#include <string_view>

#include "panel/app/CKVDeskModule.h"
#include "panel/automation/ProxyControl.h"

class CServerHost;

class CProxyControlServer : public IProxyControlEvents {
public:
    static constexpr const char* kBusName = "KVDesk.ProxyControl";
    static constexpr const char* kObjectPath = "/KVDesk/ProxyControl";
    static constexpr const char* kInterfaceName = "KVDesk.IProxyControl";

    // The class objects of the program: exports the object for host and
    // asks for the name as claim says. False (and nothing served) when there
    // is no session bus or the export fails; the first failure of the
    // process says why on stderr. Registering again first revokes.
    static bool RegisterClassObjects(CServerHost& host,
                                     CKVDeskModule::eNameClaim claim = CKVDeskModule::eNameClaim::Take);
    static void RevokeClassObjects();
    // The object being served, or null.
    static CProxyControlServer* Current();

    // The interface description (the program's type library).
    static std::string_view IntrospectionXml();

    ~CProxyControlServer() override;
    CProxyControlServer(const CProxyControlServer&) = delete;
    CProxyControlServer& operator=(const CProxyControlServer&) = delete;

    ProxyControl& Object() { return m_Object; }

    // IProxyControlEvents: each event goes out as a signal.
    platform::HRESULT DataArrive(std::int32_t iAmount) override;
    platform::HRESULT DataSent(std::int32_t iAmount) override;
    platform::HRESULT ProxyStatusChange(std::int16_t state) override;

private:
    explicit CProxyControlServer(CServerHost& host);
    // Empty when served, else why not.
    std::string Export(CKVDeskModule::eNameClaim claim);

    struct Bus;
    std::unique_ptr<Bus> m_pBus;
    ProxyControl m_Object;
    platform::DWORD m_Cookie = 0;
};
