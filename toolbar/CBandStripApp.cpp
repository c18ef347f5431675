#include "toolbar/CBandStripApp.h"

#include "platform/Sockets.h"
#include "toolbar/BandIds.h"

namespace {

// Made when the library loads, like the application object of a module.
CBandStripApp theApp;

}  // namespace

CBandStripApp& CBandStripApp::Instance() {
    return theApp;
}

CBandStripApp::CBandStripApp() {
    InitInstance();
}

CBandStripApp::~CBandStripApp() {
    ExitInstance();
}

bool CBandStripApp::InitInstance() {
    m_TypeLibId = kBandStripLibId;
    platform::WSADATA data;
    if (platform::WSAStartup(platform::MAKEWORD(2, 2), &data) != 0) return false;
    m_bSockets = data.wVersion == platform::MAKEWORD(2, 2);
    // The library still loads without it; the channel client then ends at once.
    if (!m_bSockets) platform::WSACleanup();
    return m_bSockets;
}

void CBandStripApp::ExitInstance() {
    if (m_bSockets) platform::WSACleanup();
    m_bSockets = false;
}
