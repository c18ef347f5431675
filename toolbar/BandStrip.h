#pragma once
// The functions libBandStrip.so exports for its hosts and installers.

#include "platform/Types.h"

class CToolBandFactory;

inline constexpr platform::HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<platform::HRESULT>(0x80040111u);

extern "C" {
// S_OK when no band object lives and the factory is not locked; else S_FALSE.
platform::HRESULT DllCanUnloadNow();
// The factory of the class named by clsid ("{...}", any letter case), or
// CLASS_E_CLASSNOTAVAILABLE.
platform::HRESULT DllGetClassObject(const char* clsid, CToolBandFactory** factory);
// Writes the module's and ToolBand's entries and the type library's.
platform::HRESULT DllRegisterServer();
// Removes the browser's toolbar list value, then the entries above.
platform::HRESULT DllUnregisterServer();
}

using DllGetClassObjectFunc = platform::HRESULT (*)(const char*, CToolBandFactory**);
using DllServerFunc = platform::HRESULT (*)();
