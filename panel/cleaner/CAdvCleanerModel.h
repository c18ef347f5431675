#pragma once
// The logic of the cleaner container: the three clean-on-event flags of the
// working settings' cleanup section (browser exit, program exit, Windows
// start) and Clean Now, which cleans the checked items of the sub-page
// shown, after the user confirmed.

#include <vector>

class ICleanerActions;
class IPageHost;

class CAdvCleanerModel {
public:
    explicit CAdvCleanerModel(IPageHost& host) : m_Host(host) {}

    // What the three boxes show.
    bool BrowserExit() const { return m_BrowserExit != 0; }
    bool ProgramExit() const { return m_ProgramExit != 0; }
    bool WindowsStart() const { return m_WindowsStart != 0; }

    // The three flags into the integers.
    void Load();
    // "Auto clean on browser exit" now shows checked: arms the hooks (the
    // cleaner program copied first) or disarms them.
    void OnBrowserExit(bool checked, ICleanerActions& actions);
    // "Auto clean on windows start": the flag, then the cleaner program
    // told to clean at every start (-r) or no more (-u).
    void OnWindowsStart(bool checked, ICleanerActions& actions);
    // "Auto clean on program exit".
    void OnProgramExit(bool checked);
    // The container goes: what the three boxes show into the flags.
    void Store(bool browserExit, bool programExit, bool windowsStart);

    // Clean Now. systemShown: the system items are shown (else the browser
    // items); boxes: what the shown sub-page's boxes show, in its table's
    // order, or null without a sub-page. False when the user declined.
    bool CleanNow(bool systemShown, const std::vector<int>* boxes);

private:
    IPageHost& m_Host;
    int m_BrowserExit = 0;
    int m_ProgramExit = 0;
    int m_WindowsStart = 0;
};
