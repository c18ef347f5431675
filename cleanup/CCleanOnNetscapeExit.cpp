#include "cleanup/CCleanOnNetscapeExit.h"

CCleanOnNetscapeExit::CCleanOnNetscapeExit(platform::HWND notify) : CHookLoader(notify, "\\NetscapeCloseWatch.dll") {}
