#include "cleanup/closewatch/ShellHook.h"

#include <array>

#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace {

constexpr const char* kCleanerProgram = "KVSweep";
constexpr platform::DWORD kPathBytes = 260;

}  // namespace

ShellHook::ShellHook(CloseWatchRecord record, platform::UINT lastBrowserClosed,
                     std::function<void()> beep)
    : mRecord(std::move(record)), mLastBrowserClosed(lastBrowserClosed), mBeep(std::move(beep)) {}

std::string ShellHook::CleanerCommand() {
    std::string folder;
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, "Software\\Kavelin Ver 2.0\\KVPath",
                 platform::KEY_READ | platform::KEY_SET_VALUE | platform::KEY_CREATE_SUB_KEY) ==
        platform::ERROR_SUCCESS) {
        std::array<char, kPathBytes> buffer{};
        platform::DWORD size = kPathBytes;
        if (key.QueryStringValue("Path", buffer.data(), &size) == platform::ERROR_SUCCESS)
            folder = buffer.data();
    }
    return folder + kCleanerProgram;
}

void ShellHook::ShellHookProc(int code, std::string_view className) {
    if (code != HSHELL_WINDOWCREATED && code != HSHELL_WINDOWDESTROYED) return;
    if (className != kBrowserFrameClass) return;
    if (mBeep) mBeep();
    if (code == HSHELL_WINDOWCREATED) {
        mRecord.AddFrame();
        return;
    }
    if (mRecord.RemoveFrame() != 1) return;
    // Neither a cleaner that cannot start nor a notify window that is gone
    // changes the count.
    platform::StartProcess(CleanerCommand());
    if (const platform::HWND notify = mRecord.hNotifyWnd())
        platform::PostMessage(notify, mLastBrowserClosed, 0, 0);
}
