#pragma once
// The exports of libCloseWatch.so, looked up by name by the clean-on-exit
// triggers. Arming starts a watch over the display's top-level windows in
// the calling process; only that process can disarm it, and it must keep
// the library loaded while armed.

#include "platform/Messages.h"

// Arms the watch for notify; false when some live process has it armed
// already, notify is null, or there is no display.
extern "C" bool SetHook(platform::HWND notify);
// Disarms the watch this process armed for notify; false for any other
// window or when this process holds no watch.
extern "C" bool ClearHook(platform::HWND notify);

using PFNSETHOOK = bool (*)(platform::HWND notify);
using PFNCLEARHOOK = bool (*)(platform::HWND notify);
