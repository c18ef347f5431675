#pragma once
// Millisecond clock and sleeping.

#include "platform/Types.h"

namespace platform {

// Milliseconds since an arbitrary start, from the monotonic clock; wraps
// after 49.7 days like the Windows counter, so compare differences.
DWORD GetTickCount();
void Sleep(DWORD ms);

}  // namespace platform
