#pragma once
// A program's message boxes (platform::MessageBox) as toolkit dialogs, for
// the control panel and BandHost. A box asked for on another thread (the
// engine's) is shown later on the GUI thread and answered at once with its
// default button, so no engine thread ever waits for the GUI thread.

namespace wxboxes {

// Installs the handler; returns nothing, the previous one is dropped.
void Install();

}  // namespace wxboxes
