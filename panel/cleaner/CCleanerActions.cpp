#include "panel/cleaner/CCleanerActions.h"

#include <system_error>

#include "cleanup/CCleanOnBrsExit.h"
#include "cleanup/CCleanOnNetscapeExit.h"
#include "cleanup/CCleanOnOpExit.h"
#include "panel/app/CServerHost.h"
#include "panel/main/CMainDlg.h"
#include "platform/NoCasePath.h"
#include "platform/Process.h"
#include "platform/Root.h"

CCleanerActions::CCleanerActions(platform::HWND notify, std::filesystem::path programFolder)
    : mNotifyWnd(notify),
      mProgramFolder(programFolder.empty() ? platform::ProgramImageFolder() : std::move(programFolder)) {}

platform::HWND CCleanerActions::NotifyWindowOf(CServerHost* host) {
    CMainDlg* main = host ? host->GetMainWnd() : nullptr;
    return main ? main->GetMessageWindow() : platform::HWND{};
}

void CCleanerActions::CopyCleanerProgram() {
    const auto target = platform::MapWindowsPath(kCleanerCopy);
    if (!target) return;
    std::error_code ignored;
    std::filesystem::copy_file(mProgramFolder / kCleanerProgram, *target,
                               std::filesystem::copy_options::none, ignored);
}

void CCleanerActions::StartHooks() {
    if (!mNotifyWnd) return;
    CCleanOnBrsExit browser(mNotifyWnd);
    CCleanOnNetscapeExit netscape(mNotifyWnd);
    CCleanOnOpExit opera(mNotifyWnd);
    browser.StartHook();
    netscape.StartHook();
    opera.StartHook();
}

void CCleanerActions::StopHooks() {
    if (!mNotifyWnd) return;
    CCleanOnBrsExit browser(mNotifyWnd);
    CCleanOnNetscapeExit netscape(mNotifyWnd);
    CCleanOnOpExit opera(mNotifyWnd);
    browser.StopHook();
    netscape.StopHook();
    opera.StopHook();
}

void CCleanerActions::StartCleaner(const std::string& argument) {
    platform::StartProcess(kCleanerProgram, {argument}, mProgramFolder);
}
