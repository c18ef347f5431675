#include "CloseWatchSupport.h"


#include <sstream>

#include "cleanup/closewatch/CloseWatchRecord.h"
#include "cleanup/closewatch/ShellHook.h"
#include "platform/Registry.h"

namespace closewatchtest {
namespace fs = std::filesystem;
using namespace platform;

CloseWatchTest::CloseWatchTest() : folder_(root() / "cleaner") {
    fs::create_directories(folder_);
    const fs::path program = folder_ / "KVSweep";
    kvtest::WriteFile(program, "#!/bin/sh\necho started >> \"" + (folder_ / "starts").string() + "\"\n");
    fs::permissions(program, fs::perms::owner_all);
    RegKey key;
    EXPECT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, "Software\\Kavelin Ver 2.0\\KVPath"));
    EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue("Path", folder_.string() + "/"));
    const UINT message = RegisterWindowMessage(kLastBrowserClosedName);
    notify_ = CreateMessageWindow("CloseWatchTestNotify", "", [notices = notices_, message](
                                      HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == message && wParam == 0 && lParam == 0) ++*notices;
        return DefWindowProc(hwnd, msg, wParam, lParam);
    });
}

CloseWatchTest::~CloseWatchTest() {
    DestroyWindow(notify_);
    CloseWatchRecord::Remove();
}

int CloseWatchTest::CleanerStarts() const {
    std::istringstream lines(kvtest::ReadFile(folder_ / "starts"));
    int count = 0;
    for (std::string line; std::getline(lines, line);) ++count;
    return count;
}

bool CloseWatchTest::WaitForCleanerStarts(int count, const std::function<void()>& pump) const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (CleanerStarts() < count && std::chrono::steady_clock::now() < limit) pump();
    return CleanerStarts() == count;
}

}  // namespace closewatchtest
