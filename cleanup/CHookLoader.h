#pragma once
// Arms and disarms a browser-close hook library for a window of the caller.
// The library is looked up in the folder of the running program and, once
// loaded, stays loaded: the watch it arms lives in this process and a later
// loader must find the same library to disarm it. Loaders are made for one
// arm or disarm and may be copied freely.

#include <string_view>

#include "platform/Library.h"
#include "platform/Messages.h"

class CHookLoader {
public:
    // False when the library or its "SetHook" is missing; else true, whether
    // or not the library took the window.
    bool StartHook();
    // False when the library or its "ClearHook" is missing; else true,
    // whether or not the library let the window go.
    bool StopHook();

protected:
    // libraryFile is the fragment joined to the program folder
    // ("\\CloseWatch.dll").
    CHookLoader(platform::HWND notify, std::string_view libraryFile);

private:
    bool CallHook(const char* exportName);

    platform::HWND mNotifyWnd;
    platform::HMODULE mModule = nullptr;
};
