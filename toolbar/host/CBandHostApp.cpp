#include "toolbar/host/CBandHostApp.h"

#include <memory>
#include <string>

#include "controls/WxMessageBoxes.h"
#include "platform/MainLoopQueue.h"
#include "platform/MessageBox.h"
#include "toolbar/BandIds.h"
#include "toolbar/CToolBand.h"
#include "toolbar/host/BandLoader.h"
#include "toolbar/host/CBandHostFrame.h"

bool CBandHostApp::OnInit() {
    platform::MainLoopQueue::Attach();
    return ShowRegisteredBand();
}

int CBandHostApp::OnExit() {
    platform::MainLoopQueue::Detach();
    return wxApp::OnExit();
}

bool CBandHostApp::ShowRegisteredBand() {
    wxboxes::Install();
    std::string why;
    std::unique_ptr<CToolBand> band = CreateRegisteredBand(why);
    if (!band) {
        platform::MessageBox(nullptr, why, kToolBandName, platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    auto* frame = new CBandHostFrame;
    if (!frame->HostBand(std::move(band))) {
        frame->Destroy();
        return false;
    }
    frame->Show();
    return true;
}
