#pragma once
// What the cleaner container does outside the settings: the cleaner
// program's copy and starts, and the browser-close hooks.

#include <string>

class ICleanerActions {
public:
    virtual ~ICleanerActions() = default;

    // Copies the cleaner program to "c:\" unless a copy is there already;
    // a failed copy is ignored.
    virtual void CopyCleanerProgram() = 0;
    // Arms the hooks of the system browser, Netscape and Opera, in that order.
    virtual void StartHooks() = 0;
    // Disarms them in the same order.
    virtual void StopHooks() = 0;
    // Starts the cleaner program hidden with one argument, not waiting.
    virtual void StartCleaner(const std::string& argument) = 0;
};
