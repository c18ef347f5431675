// Fills the program module's object map with the automation classes when
// the program loads: the class objects are the ProxyControl object on the
// session bus for the current host, and registration covers the classes,
// the type library and the bus service of the running program.

#include "panel/app/CKVDeskModule.h"
#include "panel/app/CServerHost.h"
#include "panel/automation/CAutomationRegistrar.h"
#include "panel/automation/CProxyControlServer.h"
#include "platform/Root.h"

namespace {

constexpr const char* kProgramFile = "KVDesk";

const bool kObjectMapInstalled = [] {
    CKVDeskModule::SetObjectMap({
        [](CKVDeskModule::eNameClaim claim) {
            CServerHost* host = CServerHost::Current();
            return host != nullptr && CProxyControlServer::RegisterClassObjects(*host, claim);
        },
        [] { CProxyControlServer::RevokeClassObjects(); },
        [] { return CAutomationRegistrar::RegisterServer(platform::ProgramImageFolder() / kProgramFile); },
        [] { return CAutomationRegistrar::UnregisterServer(); },
    });
    return true;
}();

}  // namespace
