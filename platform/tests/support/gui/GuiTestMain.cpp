#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <glib.h>

#include <cstdlib>
#include <thread>

#include "GuiTest.h"
#include "platform/MainLoopQueue.h"

namespace kvtest {

namespace {

constexpr int kMostIterationsAPass = 100000;

}  // namespace

void PumpUi(std::chrono::milliseconds duration) {
    PumpUiUntil([] { return false; }, duration);
}

bool PumpUiUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        bool busy = false;
        // Everything pending is handled (a window's deferred deletion too),
        // but a source that is always ready cannot hold the loop for ever.
        for (int i = 0; i < kMostIterationsAPass && g_main_context_iteration(nullptr, FALSE); ++i) busy = true;
        if (wxTheApp) wxTheApp->ProcessPendingEvents();
        busy |= platform::MainLoopQueue::DrainNow();
        if (!busy) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace kvtest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the cases needs no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    // The toolkit reads the desktop's settings as it starts: from a private
    // store, never the real one (kvtest::TempRoot keeps to the same).
    setenv("GSETTINGS_BACKEND", "memory", 1);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "gui tests: the toolkit could not start (no display?)\n");
        return 1;
    }
    // A logged error would otherwise open a modal box that nobody closes,
    // turning a failed check into a hang.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    platform::MainLoopQueue::Attach();
    const int result = RUN_ALL_TESTS();
    platform::MainLoopQueue::Detach();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
