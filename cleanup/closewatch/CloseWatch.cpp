#include "cleanup/closewatch/CloseWatch.h"

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "cleanup/closewatch/CloseWatchRecord.h"
#include "cleanup/closewatch/ShellHook.h"
#include "platform/TopWindowWatch.h"

namespace {

// Registered when the library is loaded, as every process that maps it
// needs the number.
const platform::UINT WM_LASTBROWSERCLOSED = platform::RegisterWindowMessage(kLastBrowserClosedName);

std::mutex g_hookLock;
// The watch this process armed; destroying it stops its thread.
std::unique_ptr<platform::TopWindowWatch> g_hook;

platform::DWORD CurrentProcess() { return static_cast<platform::DWORD>(::getpid()); }

}  // namespace

extern "C" bool SetHook(platform::HWND notify) {
    if (!notify) return false;
    const std::lock_guard lock(g_hookLock);
    auto record = CloseWatchRecord::Open();
    if (!record || !record->Reserve(CurrentProcess())) return false;
    auto watch = platform::TopWindowWatch::Open();
    if (!watch) {
        record->Release(CurrentProcess());
        return false;
    }
    // Frames open now count as if they had opened under the watch, so that
    // closing them is counted down to the last one.
    const auto& open = watch->InitialClasses();
    record->SeedFrames(static_cast<std::int32_t>(std::count(open.begin(), open.end(), kBrowserFrameClass)));
    record->Publish(notify);
    auto hook = std::make_shared<ShellHook>(std::move(*record), WM_LASTBROWSERCLOSED,
                                            [bell = watch.get()] { bell->Bell(); });
    watch->Start([hook](platform::TopWindowWatch::Change change, std::string_view className) {
        hook->ShellHookProc(change == platform::TopWindowWatch::Change::Created ? HSHELL_WINDOWCREATED
                                                                                : HSHELL_WINDOWDESTROYED,
                            className);
    });
    g_hook = std::move(watch);
    return true;
}

extern "C" bool ClearHook(platform::HWND notify) {
    if (!notify) return false;
    const std::lock_guard lock(g_hookLock);
    auto record = CloseWatchRecord::Open();
    if (!record || !g_hook || record->owner() != CurrentProcess() || record->hNotifyWnd() != notify)
        return false;
    g_hook.reset();
    record->Release(CurrentProcess());
    return true;
}
