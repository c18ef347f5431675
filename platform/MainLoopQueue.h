#pragma once
// Lets a GLib main loop (the GUI toolkit's event loop) carry the calling
// thread's platform message queue: posted and sent messages and socket
// notices are dispatched from the loop, in order, as they arrive.

namespace platform {

// Drains the calling thread's queue whenever it has work, from the
// thread-default GLib main context. The thread's WM_QUIT is kept out of the
// dispatch and reported to onQuit (which may be empty). Calling it again
// on the same thread changes nothing but the quit handler.
class MainLoopQueue {
public:
    using QuitHandler = void (*)(int exitCode);

    static void Attach(QuitHandler onQuit = nullptr);
    // Stops the draining on the calling thread.
    static void Detach();
    // Dispatches what is queued now; true when anything was.
    static bool DrainNow();
};

}  // namespace platform
