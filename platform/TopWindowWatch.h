#pragma once
// A watch over the top-level windows of the X display named by DISPLAY: it
// tells when a window that is a child of the root window gets its class
// (the class part of WM_CLASS) and when such a window is destroyed. A
// window keeps being followed after a window manager reparents it, and a
// window already inside a manager's frame when the watch opens is found one
// level below the frame.
//
// Open lists the windows open at that moment; Start then hands later
// changes to a handler on the watch's own thread. The destructor stops the
// thread and closes the connection.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TopWindowWatch {
public:
    enum class Change { Created, Destroyed };
    // className is the class the window had when it was first told.
    using Handler = std::function<void(Change change, std::string_view className)>;

    // Connects and starts following the top-level windows; null when there
    // is no display.
    static std::unique_ptr<TopWindowWatch> Open();
    ~TopWindowWatch();
    TopWindowWatch(const TopWindowWatch&) = delete;
    TopWindowWatch& operator=(const TopWindowWatch&) = delete;

    // The classes of the windows that had one when the watch was opened;
    // those windows are told again only when they are destroyed.
    const std::vector<std::string>& InitialClasses() const;

    // Starts telling changes; call once.
    void Start(Handler handler);

    // Rings the display's bell.
    void Bell();

private:
    struct State;

    explicit TopWindowWatch(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

}  // namespace platform
