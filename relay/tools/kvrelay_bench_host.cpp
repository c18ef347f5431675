// Runs the engine for the relay benchmark (bench/relay.sh): direct mode
// (no chain, no client program configured, so that it relays as plainly as
// the proxy it is compared with) on the listener port given as the first
// argument, in the per-user root of KAVELIN_ROOT. Further arguments: a
// listener type (2 HTTP, the default; 4 SOCKS4, 5 SOCKS5, 6 general) and
// "filters" (the default preset's filters; otherwise they are off). Prints
// "running" or "stopped" once the start is known, then serves until its
// standard input ends, and stops the engine as the control panel does.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/Messages.h"
#include "platform/Wait.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/CUtilThread.h"
#include "relay/engine/EngineMessages.h"

namespace {

CSettings DirectSettings(platform::DWORD port, platform::DWORD type, bool withFilters) {
    CSettings s;
    CPrivacySettings& privacy = *s.getPrivacySettings();
    privacy.mEnableIPShielding = 0;
    privacy.mEnableProxyChain = 0;
    privacy.mListenerPort = port;
    privacy.mListenerType = type;
    CFiltrationSettings& filters = *s.getFiltrationSettings();
    if (withFilters) {
        filters.SetToMediumProtection();
    } else {
        filters.mInFiltration.setEnable(false);
        filters.mOutFiltration.mEnable = 0;
    }
    CSysConfig& sys = *s.getSysConfig();
    sys.mAutoIE = sys.mAutoNetscape = sys.mAutoYahooIM = sys.mAutoMSN = sys.mAutoWsFTP = 0;
    sys.mAutoOpera = sys.mAutoKaza = sys.mAutoCuteFtp = sys.mAutoMirc = 0;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    bool filters = false;
    long type = PROXY_TYPE_HTTP;
    bool usage = argc < 2 || argc > 4;
    for (int i = 2; i < argc && !usage; ++i) {
        char* end = nullptr;
        const long value = std::strtol(argv[i], &end, 10);
        if (std::string(argv[i]) == "filters") {
            filters = true;
        } else if (end != argv[i] && *end == '\0' && value >= 0) {
            type = value;
        } else {
            usage = true;
        }
    }
    if (usage) {
        std::fprintf(stderr, "usage: %s <listener port> [listener type] [filters]\n", argv[0]);
        return 2;
    }
    const long port = std::strtol(argv[1], nullptr, 10);
    if (port < 1 || port > 65535 || !CBaseServer::InitEngine()) return 2;

    CSettings settings =
        DirectSettings(static_cast<platform::DWORD>(port), static_cast<platform::DWORD>(type), filters);
    CBaseServer::ApplySettings(settings);
    platform::UINT outcome = 0;
    const platform::HWND view = platform::CreateMessageWindow(
        "BenchView", "", [&outcome](platform::HWND h, platform::UINT m, platform::WPARAM w, platform::LPARAM l) {
            if (m == WM_RELAY_SERVER_RUNNING || m == WM_RELAY_SERVER_STOPPED) outcome = m;
            return platform::DefWindowProc(h, m, w, l);
        });
    CBaseServer::AttachView(view);

    auto* server = new CProxyServer;
    CBaseServer::mpProxyServer.store(server);
    if (!server->CreateThread()) return 1;
    const platform::Thread serverThread = server->thread();
    server->StartServer();
    platform::MSG msg;
    while (outcome == 0 && platform::GetMessage(msg)) platform::DispatchMessage(msg);
    std::cout << (outcome == WM_RELAY_SERVER_RUNNING ? "running" : "stopped") << std::endl;

    std::string line;
    while (outcome == WM_RELAY_SERVER_RUNNING && std::getline(std::cin, line)) {
    }

    CProxyServer::m_bShuttingDown.store(true);
    CProxyServer::PostToThread(WM_RELAY_STOP_SERVER, 0, 0);
    CProxyServer::PostToThread(platform::WM_QUIT, 0, 0);
    serverThread.Wait(platform::INFINITE);
    platform::WaitForSingleObject(CUtilThread::mStopped, platform::INFINITE);
    CBaseServer::DettachView();
    CBaseServer::ExitEngine();
    return outcome == WM_RELAY_SERVER_RUNNING ? 0 : 1;
}
