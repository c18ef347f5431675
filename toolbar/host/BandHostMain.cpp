// BandHost: shows the registered toolbar band in a window, as the browser
// would; registers or unregisters the band library beside it instead when
// the command line says so.
#include <wx/app.h>

#include <string>
#include <vector>

#include "toolbar/BandStrip.h"
#include "toolbar/host/BandHostCommandLine.h"
#include "toolbar/host/CBandHostApp.h"

wxIMPLEMENT_APP_NO_MAIN(CBandHostApp);

int main(int argc, char** argv) {
    switch (BandHostAction(std::vector<std::string>(argv + 1, argv + argc))) {
    case eBandHostAction::Register:
        return DllRegisterServer() == platform::S_OK ? 0 : 1;
    case eBandHostAction::Unregister:
        return DllUnregisterServer() == platform::S_OK ? 0 : 1;
    case eBandHostAction::Show:
        break;
    }
    return wxEntry(argc, argv);
}
