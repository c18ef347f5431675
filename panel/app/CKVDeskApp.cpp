#include "panel/app/CKVDeskApp.h"

#include <wx/image.h>

#include "controls/CRoundGroupBox.h"
#include "controls/WxMessageBoxes.h"
#include "platform/MainLoopQueue.h"
#include "relay/engine/CBaseServer.h"

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < wxTheApp->argc; ++i) arguments.emplace_back(wxTheApp->argv[i].utf8_string());
    return arguments;
}

}  // namespace

CKVDeskApp::CKVDeskApp() = default;

bool CKVDeskApp::OnInit() {
    // The program ends at the host's quit message, never because its last
    // window closed (the window-less automation mode has none).
    SetExitOnFrameDelete(false);
    SetCommandLine(Arguments());
    wxInitAllImageHandlers();
    wxboxes::Install();
    // Group boxes frame themselves by whether the engine allows mixed chains.
    CRoundGroupBox::SetMixChainSource([] { return CBaseServer::GetChainSettings().getMixChain(); });
    platform::MainLoopQueue::Attach([](int) {
        if (wxTheApp) wxTheApp->ExitMainLoop();
    });
    // 0 ends the program through the toolkit's exit, as 1 does after the
    // main window: both leave the main loop at the quit message.
    if (InitInstance() == 0) platform::PostQuitMessage(0);
    return true;
}

int CKVDeskApp::OnExit() {
    ExitInstance();
    platform::MainLoopQueue::Detach();
    return wxApp::OnExit();
}
