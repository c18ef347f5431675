#pragma once
// Arms and disarms the browser-close hook of Opera ("OperaCloseWatch.dll"
// in the program folder) for a window of the caller.

#include "cleanup/CHookLoader.h"

class CCleanOnOpExit : public CHookLoader {
public:
    explicit CCleanOnOpExit(platform::HWND notify);
};
