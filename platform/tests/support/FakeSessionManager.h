#pragma once
// A desktop session manager for tests, on the session bus of the test (the
// private bus of scripts/with-display.sh --bus): it owns the name
// org.gnome.SessionManager, takes clients' registrations and records their
// answers, and sends them the session's requests. It serves from a thread
// of its own, so a client may call it synchronously from the test's thread.

#include <memory>
#include <string>
#include <vector>

namespace kvtest {

class FakeSessionManager {
public:
    FakeSessionManager();
    ~FakeSessionManager();
    FakeSessionManager(const FakeSessionManager&) = delete;
    FakeSessionManager& operator=(const FakeSessionManager&) = delete;

    // Takes the name and starts serving; false when the bus or the name
    // cannot be had.
    bool Start();

    // The app ids of the clients registered now, in order.
    std::vector<std::string> Clients() const;
    // How many registrations were taken back.
    int Unregistered() const;
    // The answers (EndSessionResponse is_ok) received so far, in order.
    std::vector<bool> Answers() const;

    // Sends the request to every registered client.
    void QueryEndSession();
    void EndSession();
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> m_;
};

}  // namespace kvtest
