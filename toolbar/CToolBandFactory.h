#pragma once
// The class factory of ToolBand that DllGetClassObject hands out.

#include <memory>

#include "platform/Types.h"

class CToolBand;

class CToolBandFactory {
public:
    // A new band object.
    platform::HRESULT CreateInstance(std::unique_ptr<CToolBand>& band);
    // Keeps the library in use while locked.
    platform::HRESULT LockServer(bool lock);
};
