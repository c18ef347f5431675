#include "platform/MainLoopQueue.h"

#include <glib-unix.h>
#include <glib.h>

#include "platform/Messages.h"

namespace platform {

namespace {

struct ThreadSource {
    guint id = 0;
    MainLoopQueue::QuitHandler onQuit = nullptr;
};

thread_local ThreadSource tSource;

gboolean OnQueueReadable(gint, GIOCondition, gpointer) {
    MainLoopQueue::DrainNow();
    return G_SOURCE_CONTINUE;
}

}  // namespace

void MainLoopQueue::Attach(QuitHandler onQuit) {
    tSource.onQuit = onQuit;
    if (tSource.id != 0) return;
    tSource.id = g_unix_fd_add(GetMessageQueueFd(), G_IO_IN, &OnQueueReadable, nullptr);
}

void MainLoopQueue::Detach() {
    if (tSource.id != 0) g_source_remove(tSource.id);
    tSource = {};
}

bool MainLoopQueue::DrainNow() {
    bool any = false;
    MSG msg;
    while (PeekMessage(msg)) {
        any = true;
        if (msg.message == WM_QUIT) {
            if (tSource.onQuit) tSource.onQuit(static_cast<int>(msg.wParam));
            continue;
        }
        DispatchMessage(msg);
    }
    return any;
}

}  // namespace platform
