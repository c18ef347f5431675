#pragma once
// The cleaner container's outside actions for real: the hook loaders made
// on the stack for each arm or disarm, and the cleaner program started from
// (and copied out of) the program folder.
//
// The hooks are armed and disarmed with one window that lives as long as
// the panel (the main window's message window), because the hook library
// lets only the window it was armed with disarm it and the cleaner page is
// destroyed whenever the user leaves it. Without such a window nothing is
// armed, since nothing could disarm it later.

#include <filesystem>

#include "panel/cleaner/ICleanerActions.h"
#include "platform/Messages.h"

class CServerHost;

class CCleanerActions : public ICleanerActions {
public:
    // programFolder empty: the folder of the running program.
    explicit CCleanerActions(platform::HWND notify, std::filesystem::path programFolder = {});

    // The main window's message window of host, or null without one.
    static platform::HWND NotifyWindowOf(CServerHost* host);

    // ICleanerActions
    void CopyCleanerProgram() override;
    void StartHooks() override;
    void StopHooks() override;
    void StartCleaner(const std::string& argument) override;

    static constexpr const char* kCleanerProgram = "KVSweep";
    // Where the copy goes ("c:\" is the profile folder).
    static constexpr const char* kCleanerCopy = "c:\\kvsweep";

private:
    platform::HWND mNotifyWnd;
    std::filesystem::path mProgramFolder;
};
