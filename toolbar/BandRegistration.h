#pragma once
// BandStrip's registry entries: the module's (its AppID) and ToolBand's
// (ProgIDs, the class key, the browser's toolbar list value), and the type
// library's. Removing an entry that is already gone is no error.

#include <filesystem>

#include "platform/Types.h"

namespace band_registration {

platform::HRESULT ApplyModuleScript();
platform::HRESULT RemoveModuleScript();
// modulePath: the library the class key's InprocServer32 names.
platform::HRESULT ApplyToolBandScript(const std::filesystem::path& modulePath);
platform::HRESULT RemoveToolBandScript();
platform::HRESULT RegisterTypeLib(const std::filesystem::path& modulePath);
platform::HRESULT UnregisterTypeLib();
// The value of the browser's toolbar list that names ToolBand.
platform::HRESULT RemoveBrowserToolbarValue();

// Where this library lies.
std::filesystem::path ModulePath();

}  // namespace band_registration
