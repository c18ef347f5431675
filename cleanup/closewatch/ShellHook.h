#pragma once
// What the browser-close watcher does for each top-level window notice: it
// counts the browser frames opened and closed, and when the last counted one
// closes it starts the outside cleaner and tells the armed notify window.
// Runs on the watch thread; its only state is the shared record.

#include <functional>
#include <string>
#include <string_view>

#include "cleanup/closewatch/CloseWatchRecord.h"
#include "platform/Types.h"

// Notice codes, as the shell numbers them.
inline constexpr int HSHELL_WINDOWCREATED = 1;
inline constexpr int HSHELL_WINDOWDESTROYED = 2;

// The name WM_LASTBROWSERCLOSED is registered under.
inline constexpr std::string_view kLastBrowserClosedName = "{1329AE31-70CD-4f8e-B32D-EE0C34041028}";

// The class of a browser frame window, compared exactly.
inline constexpr std::string_view kBrowserFrameClass = "IEFrame";

class ShellHook {
public:
    ShellHook(CloseWatchRecord record, platform::UINT lastBrowserClosed, std::function<void()> beep);

    void ShellHookProc(int code, std::string_view className);

    // The outside cleaner's program: the folder stored under
    // HKCU\Software\Kavelin Ver 2.0\KVPath "Path" directly followed by the
    // program name, or the bare name when the value cannot be read.
    static std::string CleanerCommand();

private:
    CloseWatchRecord mRecord;
    platform::UINT mLastBrowserClosed;
    std::function<void()> mBeep;
};
