#pragma once
// BandHost's application: the registered band in a window of its own, as
// the browser would show it. Its message boxes are toolkit dialogs, so a
// band that is not registered is said on screen, not only on stderr.

#include <wx/app.h>

class CBandHostApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    // Message boxes as dialogs, then the window with the registered band;
    // false, after a message box saying why, when there is no band to show.
    static bool ShowRegisteredBand();
};
