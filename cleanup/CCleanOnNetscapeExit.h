#pragma once
// Arms and disarms the browser-close hook of Netscape
// ("NetscapeCloseWatch.dll" in the program folder) for a window of the caller.

#include "cleanup/CHookLoader.h"

class CCleanOnNetscapeExit : public CHookLoader {
public:
    explicit CCleanOnNetscapeExit(platform::HWND notify);
};
