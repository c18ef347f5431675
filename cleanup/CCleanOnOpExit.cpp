#include "cleanup/CCleanOnOpExit.h"

CCleanOnOpExit::CCleanOnOpExit(platform::HWND notify) : CHookLoader(notify, "\\OperaCloseWatch.dll") {}
