#pragma once
// The signals that ask a program to end (SIGTERM, SIGHUP, SIGINT), carried
// to the GLib main loop of the thread that watches them: the handler only
// wakes the loop, and the program's own handler runs there, between other
// events, with the signal's number. While watched, none of the three ends
// the program by itself.

#include <functional>

namespace platform {

class ExitSignals {
public:
    using Handler = std::function<void(int signalNumber)>;

    // Watches the three signals from the thread-default GLib main context
    // (the toolkit's loop on the GUI thread); a second call replaces the
    // handler.
    static void Watch(Handler onSignal);
    // Stops watching; the signals end the program again.
    static void Unwatch();
};

}  // namespace platform
