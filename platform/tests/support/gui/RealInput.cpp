#include "RealInput.h"

#include <wx/toplevel.h>
#include <wx/window.h>

#include <gdk/gdk.h>
#include <gdk/gdkx.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "CXServer.h"
#include "ControlLayout.h"
#include "XReply.h"

namespace kvtest {
namespace {

constexpr std::uint8_t kLeftButton = 1;

// A connection of our own, as a second input device would have.
class CFakeInput {
public:
    CFakeInput() {
        GdkDisplay* display = gdk_display_get_default();
        if (!display || !GDK_IS_X11_DISPLAY(display)) throw std::runtime_error("the toolkit is not on an X display");
        gdk_display_sync(display);
        int screen = 0;
        mConnection.reset(xcb_connect(gdk_display_get_name(display), &screen));
        if (xcb_connection_has_error(mConnection.get())) throw std::runtime_error("cannot connect to the X display");
        auto roots = xcb_setup_roots_iterator(xcb_get_setup(Connection()));
        for (int i = 0; i < screen && roots.rem; ++i) xcb_screen_next(&roots);
        if (!roots.rem) throw std::runtime_error("X server: no screen " + std::to_string(screen));
        mRoot = roots.data->root;
        const auto version =
            TakeReply(xcb_test_get_version_reply(Connection(), xcb_test_get_version(Connection(), 2, 2), nullptr));
        if (!version) throw std::runtime_error("X server: no XTEST extension");
    }

    xcb_connection_t* Connection() const { return mConnection.get(); }
    xcb_window_t Root() const { return mRoot; }

    void Move(const wxPoint& at) { Fake(XCB_MOTION_NOTIFY, 0, at); }
    void Button(bool down) { Fake(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, kLeftButton); }
    void Key(xcb_keycode_t key, bool down) { Fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key); }

    xcb_keycode_t KeyOf(unsigned keysym) const {
        const xcb_setup_t* setup = xcb_get_setup(Connection());
        const int count = setup->max_keycode - setup->min_keycode + 1;
        const auto mapping = TakeReply(xcb_get_keyboard_mapping_reply(
            Connection(), xcb_get_keyboard_mapping(Connection(), setup->min_keycode, static_cast<std::uint8_t>(count)),
            nullptr));
        if (!mapping) throw std::runtime_error("X server: no keyboard mapping");
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
        const int perKey = mapping->keysyms_per_keycode;
        for (int key = 0; key < count; ++key) {
            if (syms[key * perKey] == keysym) return static_cast<xcb_keycode_t>(setup->min_keycode + key);
        }
        throw std::runtime_error("X server: no key gives keysym " + std::to_string(keysym));
    }

    // Waits until the server has taken everything sent so far.
    void Sync() const {
        const auto focus =
            TakeReply(xcb_get_input_focus_reply(Connection(), xcb_get_input_focus(Connection()), nullptr));
        if (!focus) throw std::runtime_error("X server: the connection broke");
    }

private:
    void Fake(std::uint8_t type, std::uint8_t detail, const wxPoint& at = {}) {
        xcb_test_fake_input(Connection(), type, detail, XCB_CURRENT_TIME, type == XCB_MOTION_NOTIFY ? mRoot : XCB_NONE,
                            static_cast<std::int16_t>(at.x), static_cast<std::int16_t>(at.y), 0);
    }

    struct SDisconnect {
        void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
    };
    std::unique_ptr<xcb_connection_t, SDisconnect> mConnection;
    xcb_window_t mRoot = XCB_NONE;
};

wxPoint Centre(const wxRect& rect) { return {rect.x + rect.width / 2, rect.y + rect.height / 2}; }

xcb_atom_t Atom(xcb_connection_t* c, std::string_view name) {
    const auto reply = TakeReply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    if (!reply) throw std::runtime_error("X server: no atom " + std::string(name));
    return reply->atom;
}

}  // namespace

wxRect OnScreen(const wxWindow& control) {
    const auto* top = dynamic_cast<const wxTopLevelWindow*>(wxGetTopLevelParent(const_cast<wxWindow*>(&control)));
    if (!top) throw std::runtime_error(Describe(control) + " has no top-level window");
    const SWindowLayout layout = ReadLayout(*top);
    if (layout.xWindow == 0) throw std::runtime_error(Describe(*top) + " has never been shown");
    const SXWindow shown = CXServer().Window(layout.xWindow);
    if (!shown.viewable) throw std::runtime_error(Describe(*top) + " is not viewable on the X server");
    const SScreenRect& window = shown.onRoot;
    if (&control == top) return {window.x, window.y, window.width, window.height};
    const auto it = std::find_if(layout.controls.begin(), layout.controls.end(),
                                 [&](const SControl& c) { return c.window == &control; });
    if (it == layout.controls.end() || !it->mapped || it->rect.Empty()) {
        throw std::runtime_error(Describe(control) + " is not shown in " + Describe(*top));
    }
    return {window.x + it->rect.x, window.y + it->rect.y, it->rect.width, it->rect.height};
}

void ClickOnScreen(const wxWindow& control) { ClickOnScreen(Centre(OnScreen(control))); }

void ClickOnScreen(const wxPoint& at) {
    CFakeInput input;
    input.Move(at);
    input.Button(true);
    input.Button(false);
    input.Sync();
}

void PressOnScreen(const wxPoint& at) {
    CFakeInput input;
    input.Move(at);
    input.Button(true);
    input.Sync();
}

void MoveOnScreen(const wxPoint& to) {
    CFakeInput input;
    input.Move(to);
    input.Sync();
}

void ReleaseOnScreen() {
    CFakeInput input;
    input.Button(false);
    input.Sync();
}

void PressKeyOnScreen(unsigned keysym) {
    CFakeInput input;
    const xcb_keycode_t key = input.KeyOf(keysym);
    input.Key(key, true);
    input.Key(key, false);
    input.Sync();
}

void CloseFromScreen(const wxTopLevelWindow& window) {
    const std::uint32_t id = XWindowOf(window);
    if (id == 0) throw std::runtime_error(Describe(window) + " has never been shown");
    CFakeInput input;
    xcb_connection_t* c = input.Connection();
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = Atom(c, "WM_PROTOCOLS");
    message.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, id, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    input.Sync();
}

}  // namespace kvtest
