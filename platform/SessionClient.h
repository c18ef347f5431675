#pragma once
// The program as a client of the desktop's session manager, where one is
// present: the org.gnome.SessionManager interface on the session bus
// (spoken by the GNOME, MATE and Cinnamon session managers). The client
// registers when it is made and hears when the session asks whether it may
// end, when it ends and when it asks the program to stop. Without a session
// bus or a session manager nothing happens.
//
// The handlers run on the thread that made the client, from its
// thread-default GLib main loop (the toolkit's loop on the GUI thread).

#include <functional>
#include <memory>
#include <string>

namespace platform {

class SessionClient {
public:
    struct Handlers {
        // The session asks whether it may end; the client agrees once this
        // has run.
        std::function<void()> onQueryEnd;
        // The session ends, or asks the program to stop: the program ends
        // itself and, for an end, calls ConfirmEnd when it is ready.
        std::function<void()> onEnd;
    };

    // appId: the program's name as the session manager shows it.
    SessionClient(std::string appId, Handlers handlers);
    ~SessionClient();
    SessionClient(const SessionClient&) = delete;
    SessionClient& operator=(const SessionClient&) = delete;

    // Whether a session manager took the registration (known once it
    // answered).
    bool IsRegistered() const;
    // Tells the session manager that the program is ready for the session
    // to end; nothing when no end is waiting for the answer.
    void ConfirmEnd();

private:
    struct Impl;
    std::unique_ptr<Impl> m_;
};

}  // namespace platform
