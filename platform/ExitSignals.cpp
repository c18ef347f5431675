#include "platform/ExitSignals.h"

#include <glib-unix.h>
#include <glib.h>

#include <array>
#include <csignal>

namespace platform {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

struct Watched {
    ExitSignals::Handler handler;
    std::array<guint, kSignals.size()> sources{};
};

Watched& State() {
    static Watched watched;
    return watched;
}

// GLib's own signal handler only writes to its wake-up pipe; this runs
// later, from the main loop.
gboolean OnSignal(gpointer number) {
    const int signalNumber = GPOINTER_TO_INT(number);
    if (State().handler) State().handler(signalNumber);
    return G_SOURCE_CONTINUE;
}

}  // namespace

void ExitSignals::Watch(Handler onSignal) {
    Watched& state = State();
    state.handler = std::move(onSignal);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (state.sources[i] != 0) continue;
        GSource* source = g_unix_signal_source_new(kSignals[i]);
        g_source_set_callback(source, &OnSignal, GINT_TO_POINTER(kSignals[i]), nullptr);
        state.sources[i] = g_source_attach(source, g_main_context_get_thread_default());
        g_source_unref(source);
    }
}

void ExitSignals::Unwatch() {
    Watched& state = State();
    for (guint& id : state.sources) {
        GSource* source = id != 0 ? g_main_context_find_source_by_id(g_main_context_get_thread_default(), id) : nullptr;
        if (source != nullptr) g_source_destroy(source);
        id = 0;
    }
    state.handler = {};
}

}  // namespace platform
