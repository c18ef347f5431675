#include <algorithm>
#include <cctype>
#include <string_view>

#include "toolbar/BandIds.h"
#include "toolbar/BandRegistration.h"
#include "toolbar/BandStrip.h"
#include "toolbar/CBandStripApp.h"
#include "toolbar/CToolBand.h"
#include "toolbar/CToolBandFactory.h"

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

CToolBandFactory gFactory;

}  // namespace

extern "C" {

platform::HRESULT DllCanUnloadNow() {
    return CBandStripApp::Instance().CanUnload() ? platform::S_OK : platform::S_FALSE;
}

platform::HRESULT DllGetClassObject(const char* clsid, CToolBandFactory** factory) {
    if (!factory) return platform::E_INVALIDARG;
    *factory = nullptr;
    if (!clsid || !EqualNoCase(clsid, kToolBandClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    *factory = &gFactory;
    return platform::S_OK;
}

platform::HRESULT DllRegisterServer() {
    const auto module = band_registration::ModulePath();
    platform::HRESULT result = band_registration::ApplyModuleScript();
    if (result == platform::S_OK) result = CToolBand::UpdateRegistry(true);
    if (result == platform::S_OK) result = band_registration::RegisterTypeLib(module);
    return result;
}

platform::HRESULT DllUnregisterServer() {
    // First, so that it goes even when the class keys are already gone.
    band_registration::RemoveBrowserToolbarValue();
    const platform::HRESULT module = band_registration::RemoveModuleScript();
    const platform::HRESULT band = CToolBand::UpdateRegistry(false);
    const platform::HRESULT typeLib = band_registration::UnregisterTypeLib();
    return module == platform::S_OK && band == platform::S_OK ? typeLib : platform::E_FAIL;
}

}  // extern "C"
