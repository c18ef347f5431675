#include "toolbar/host/BandLoader.h"

#include "platform/Library.h"
#include "platform/Registry.h"
#include "toolbar/BandIds.h"
#include "toolbar/BandStrip.h"
#include "toolbar/CToolBand.h"
#include "toolbar/CToolBandFactory.h"

std::unique_ptr<CToolBand> CreateRegisteredBand(std::string& why) {
    platform::RegKey toolbars;
    std::string name;
    if (toolbars.Open(platform::HKEY_LOCAL_MACHINE, kBrowserToolbarKey, platform::KEY_READ) != platform::ERROR_SUCCESS ||
        toolbars.QueryStringValue(kToolBandClsid, name) != platform::ERROR_SUCCESS) {
        why = std::string(kToolBandName) + " is not in the browser's toolbar list.";
        return nullptr;
    }
    platform::RegKey server;
    std::string module;
    if (server.Open(platform::HKEY_CLASSES_ROOT, std::string("CLSID\\") + kToolBandClsid + "\\InprocServer32",
                    platform::KEY_READ) != platform::ERROR_SUCCESS ||
        server.QueryStringValue("", module) != platform::ERROR_SUCCESS || module.empty()) {
        why = std::string(kToolBandName) + " has no registered library.";
        return nullptr;
    }
    const platform::HMODULE library = platform::LoadLibrary(module);
    const auto getClassObject =
        reinterpret_cast<DllGetClassObjectFunc>(platform::GetProcAddress(library, "DllGetClassObject"));
    if (!getClassObject) {
        why = "The library " + module + " cannot be loaded.";
        return nullptr;
    }
    CToolBandFactory* factory = nullptr;
    std::unique_ptr<CToolBand> band;
    if (getClassObject(kToolBandClsid, &factory) != platform::S_OK || !factory ||
        factory->CreateInstance(band) != platform::S_OK) {
        why = "The library " + module + " does not make " + kToolBandName + ".";
        return nullptr;
    }
    return band;
}
