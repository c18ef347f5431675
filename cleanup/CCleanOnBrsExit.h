#pragma once
// Arms and disarms the browser-close hook of the system browser
// ("CloseWatch.dll" in the program folder) for a window of the caller.

#include "cleanup/CHookLoader.h"

class CCleanOnBrsExit : public CHookLoader {
public:
    explicit CCleanOnBrsExit(platform::HWND notify);
};
