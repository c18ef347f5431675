#pragma once
// Support for tests that drive real widgets on the virtual display that
// scripts/with-display.sh gives each test program (see kv_gui_tests). The
// program's main (GuiTestMain.cpp) starts the toolkit and lets its event
// loop carry the main thread's platform message queue.

#include <chrono>
#include <functional>

namespace kvtest {

// Runs the GUI event loop (and so the platform queue) for the given time.
void PumpUi(std::chrono::milliseconds duration);

// Runs the GUI event loop until done() holds or the limit passes; returns
// done()'s last answer.
bool PumpUiUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::seconds(5));

}  // namespace kvtest
