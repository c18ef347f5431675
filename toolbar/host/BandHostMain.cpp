// BandHost: shows the registered toolbar band in a window, as the browser
// would. "/RegServer" and "/UnregServer" register and unregister the band
// library beside it instead.
#include <wx/app.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/MainLoopQueue.h"
#include "platform/MessageBox.h"
#include "toolbar/BandIds.h"
#include "toolbar/BandStrip.h"
#include "toolbar/CToolBand.h"
#include "toolbar/host/BandLoader.h"
#include "toolbar/host/CBandHostFrame.h"

namespace {

class CBandHostApp : public wxApp {
public:
    bool OnInit() override {
        platform::MainLoopQueue::Attach();
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

    int OnExit() override {
        platform::MainLoopQueue::Detach();
        return wxApp::OnExit();
    }
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(CBandHostApp);

int main(int argc, char** argv) {
    if (argc == 2) {
        const std::string option = Lower(argv[1]);
        if (option == "/regserver") return DllRegisterServer() == platform::S_OK ? 0 : 1;
        if (option == "/unregserver") return DllUnregisterServer() == platform::S_OK ? 0 : 1;
    }
    return wxEntry(argc, argv);
}
