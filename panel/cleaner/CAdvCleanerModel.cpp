#include "panel/cleaner/CAdvCleanerModel.h"

#include "cleanup/CTraceSweeper.h"
#include "panel/cleaner/CleanerItemTable.h"
#include "panel/cleaner/ICleanerActions.h"
#include "panel/pages/IPageHost.h"
#include "platform/MessageBox.h"
#include "settings/CSettings.h"

namespace {

CCleanupAdvanced& Flags(IPageHost& host) {
    return host.WorkingSettings().getCleanupSettings()->mCleanupAdvanced;
}

bool Confirmed(const char* text) {
    return platform::MessageBox({}, text, "Kavelin Confirmation",
                                platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES;
}

// Runs the table's operations, in its clean order, for the checked boxes.
void CleanChecked(CTraceSweeper& sweeper, const CleanerItemTable& table, const std::vector<int>& boxes) {
    if (boxes.size() != table.items.size()) return;
    for (const CleanerStep& step : table.cleanOrder) {
        const int index = IndexOfItem(table, step.control);
        if (index >= 0 && boxes[index]) (sweeper.*step.clear)();
    }
}

}  // namespace

void CAdvCleanerModel::Load() {
    const CCleanupAdvanced& flags = Flags(m_Host);
    m_BrowserExit = flags.mBrowserExit ? 1 : 0;
    m_ProgramExit = flags.mWindowsExit ? 1 : 0;
    m_WindowsStart = flags.mWindowsStart ? 1 : 0;
}

void CAdvCleanerModel::OnBrowserExit(bool checked, ICleanerActions& actions) {
    m_BrowserExit = checked ? 1 : 0;
    m_Host.SetModified(true, 0);
    if (checked) {
        actions.CopyCleanerProgram();
        Flags(m_Host).mBrowserExit = 1;
        actions.StartHooks();
    } else {
        Flags(m_Host).mBrowserExit = 0;
        actions.StopHooks();
    }
}

void CAdvCleanerModel::OnWindowsStart(bool checked, ICleanerActions& actions) {
    m_WindowsStart = checked ? 1 : 0;
    Flags(m_Host).mWindowsStart = static_cast<platform::DWORD>(m_WindowsStart);
    actions.StartCleaner(checked ? "-r" : "-u");
    m_Host.SetModified(true, 0);
}

void CAdvCleanerModel::OnProgramExit(bool checked) {
    m_ProgramExit = checked ? 1 : 0;
    Flags(m_Host).mWindowsExit = static_cast<platform::DWORD>(m_ProgramExit);
    m_Host.SetModified(true, 0);
}

void CAdvCleanerModel::Store(bool browserExit, bool programExit, bool windowsStart) {
    m_BrowserExit = browserExit ? 1 : 0;
    m_ProgramExit = programExit ? 1 : 0;
    m_WindowsStart = windowsStart ? 1 : 0;
    CCleanupAdvanced& flags = Flags(m_Host);
    flags.mBrowserExit = static_cast<platform::DWORD>(m_BrowserExit);
    flags.mWindowsExit = static_cast<platform::DWORD>(m_ProgramExit);
    flags.mWindowsStart = static_cast<platform::DWORD>(m_WindowsStart);
}

bool CAdvCleanerModel::CleanNow(bool systemShown, const std::vector<int>* boxes) {
    if (systemShown) {
        if (!Confirmed("This will Cleanup all System selected Items")) return false;
        CTraceSweeper sweeper;
        if (boxes) CleanChecked(sweeper, SystemItemTable(), *boxes);
        return true;
    }
    if (!Confirmed("This will Cleanup all Internet Explorer selected Items")) return false;
    CTraceSweeper sweeper;
    sweeper.SetFlags(CI_RUN_MRU, CB_IE);
    if (boxes) CleanChecked(sweeper, BrowserItemTable(), *boxes);
    return true;
}
