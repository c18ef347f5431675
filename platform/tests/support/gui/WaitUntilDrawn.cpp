#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include "CXServer.h"
#include "ControlLayout.h"
#include "GuiTest.h"
#include "ScreenCheck.h"

namespace kvtest {

bool WaitUntilDrawn(const wxTopLevelWindow& window, std::chrono::milliseconds limit) {
    auto* top = static_cast<GtkWidget*>(window.GetHandle());
    if (!top) return false;
    int draws = 0;
    const gulong handler = g_signal_connect_after(
        top, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer count) -> gboolean {
            ++*static_cast<int*>(count);
            return FALSE;
        }),
        &draws);
    // A window that is already up to date draws again only when asked.
    gtk_widget_queue_draw(top);
    const bool drawn = PumpUiUntil(
        [&] {
            const std::uint32_t id = XWindowOf(window);
            return draws > 0 && id != 0 && CXServer().Window(id).viewable;
        },
        limit);
    g_signal_handler_disconnect(top, handler);
    return drawn;
}

}  // namespace kvtest
