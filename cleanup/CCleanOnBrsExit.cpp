#include "cleanup/CCleanOnBrsExit.h"

CCleanOnBrsExit::CCleanOnBrsExit(platform::HWND notify) : CHookLoader(notify, "\\CloseWatch.dll") {}
