#include "platform/TopWindowWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_map>

namespace platform {

namespace {

// WM_CLASS is two short texts; a longer property is not a class we know.
constexpr std::uint32_t kClassLongs = 256;
constexpr std::uint32_t kFollowMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;

struct Window {
    bool told = false;
    std::string className;
};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

}  // namespace

struct TopWindowWatch::State {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    int stopFd = -1;
    std::vector<std::string> initial;
    // Only the watch thread touches windows once it runs.
    std::unordered_map<xcb_window_t, Window> windows;
    Handler handler;
    std::thread thread;

    ~State() {
        if (thread.joinable()) {
            const std::uint64_t one = 1;
            while (::write(stopFd, &one, sizeof one) < 0 && errno == EINTR) {
            }
            thread.join();
        }
        if (stopFd >= 0) ::close(stopFd);
        if (connection) xcb_disconnect(connection);
    }

    // The class part of WM_CLASS; empty when the window has none (yet) or
    // is gone.
    std::string ReadClass(xcb_window_t window) {
        const xcb_get_property_cookie_t cookie = xcb_get_property(
            connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, kClassLongs);
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr),
                                              &std::free);
        if (!reply || reply->format != 8 || reply->bytes_after != 0) return {};
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const std::size_t length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
        const void* end = std::memchr(bytes, '\0', length);
        if (!end) return {};
        const std::size_t start = static_cast<std::size_t>(static_cast<const char*>(end) - bytes) + 1;
        const void* classEnd = std::memchr(bytes + start, '\0', length - start);
        const std::size_t classLength =
            classEnd ? static_cast<std::size_t>(static_cast<const char*>(classEnd) - (bytes + start))
                     : length - start;
        return std::string(bytes + start, classLength);
    }

    std::optional<std::vector<xcb_window_t>> Children(xcb_window_t window) {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
        if (!tree) return std::nullopt;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        return std::vector<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get()));
    }

    // Follows a window; true when it already has a class.
    bool Follow(xcb_window_t window) {
        xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &kFollowMask);
        Window& entry = windows[window];
        entry.className = ReadClass(window);
        entry.told = !entry.className.empty();
        return entry.told;
    }

    void Tell(Change change, const std::string& className) {
        if (handler) handler(change, className);
    }

    void Handle(const xcb_generic_event_t& event) {
        switch (event.response_type & 0x7F) {
        case XCB_CREATE_NOTIFY: {
            const auto& created = reinterpret_cast<const xcb_create_notify_event_t&>(event);
            if (created.parent != root || windows.count(created.window)) return;
            if (Follow(created.window)) Tell(Change::Created, windows[created.window].className);
            return;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (property.atom != XCB_ATOM_WM_CLASS) return;
            const auto found = windows.find(property.window);
            if (found == windows.end() || found->second.told) return;
            found->second.className = ReadClass(property.window);
            if (found->second.className.empty()) return;
            found->second.told = true;
            Tell(Change::Created, found->second.className);
            return;
        }
        case XCB_DESTROY_NOTIFY: {
            // Told twice (to the root and to the window itself): the first
            // one ends the entry.
            const auto& destroyed = reinterpret_cast<const xcb_destroy_notify_event_t&>(event);
            const auto found = windows.find(destroyed.window);
            if (found == windows.end()) return;
            const Window entry = found->second;
            windows.erase(found);
            if (entry.told) Tell(Change::Destroyed, entry.className);
            return;
        }
        default:
            return;
        }
    }

    void Run() {
        pollfd fds[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {stopFd, POLLIN, 0}};
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
                Handle(*event);
                std::free(event);
            }
            if (xcb_connection_has_error(connection)) return;
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents) return;
        }
    }
};

std::unique_ptr<TopWindowWatch> TopWindowWatch::Open() {
    auto state = std::make_unique<State>();
    state->connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(state->connection)) return nullptr;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(state->connection)).data;
    state->stopFd = ::eventfd(0, EFD_CLOEXEC);
    if (!screen || state->stopFd < 0) return nullptr;
    state->root = screen->root;

    // Watch for new windows before listing the present ones, so none falls
    // between the two; a window seen in both is followed once.
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_generic_error_t* error = xcb_request_check(
        state->connection, xcb_change_window_attributes_checked(state->connection, state->root,
                                                                XCB_CW_EVENT_MASK, &rootMask));
    if (error) {
        std::free(error);
        return nullptr;
    }
    const auto rootChildren = state->Children(state->root);
    if (!rootChildren) return nullptr;
    for (const xcb_window_t window : *rootChildren) {
        if (state->Follow(window)) {
            state->initial.push_back(state->windows[window].className);
            continue;
        }
        // A window manager's frame holds the program's window one level down.
        for (const xcb_window_t inner : state->Children(window).value_or(std::vector<xcb_window_t>{})) {
            if (state->Follow(inner)) state->initial.push_back(state->windows[inner].className);
        }
    }
    return std::unique_ptr<TopWindowWatch>(new TopWindowWatch(std::move(state)));
}

TopWindowWatch::TopWindowWatch(std::unique_ptr<State> state) : state_(std::move(state)) {}

TopWindowWatch::~TopWindowWatch() = default;

const std::vector<std::string>& TopWindowWatch::InitialClasses() const { return state_->initial; }

void TopWindowWatch::Start(Handler handler) {
    if (state_->thread.joinable()) return;
    state_->handler = std::move(handler);
    state_->thread = std::thread([state = state_.get()] { state->Run(); });
}

void TopWindowWatch::Bell() {
    xcb_bell(state_->connection, 0);
    xcb_flush(state_->connection);
}

}  // namespace platform
