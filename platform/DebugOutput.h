#pragma once
// OutputDebugString: lines for a developer watching the program. They go to
// standard error while the switch is on: KAVELIN_DEBUG_OUTPUT=1 in the
// environment when the program starts, or SetDebugOutput. Off, a call costs
// one flag test.

namespace platform {

void OutputDebugString(const char* text);
bool DebugOutputEnabled();
void SetDebugOutput(bool on);

}  // namespace platform
