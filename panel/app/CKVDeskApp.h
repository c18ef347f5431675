#pragma once
// The control panel's application object: the toolkit's application with
// the host as its second base. Start-up runs the main window inside OnInit;
// the toolkit's main loop then runs until the host's quit message, and
// OnExit runs the host's exit.

#include <wx/app.h>

#include "panel/app/CKVDeskHost.h"

class CKVDeskApp : public wxApp, public CKVDeskHost {
public:
    CKVDeskApp();

    bool OnInit() override;
    int OnExit() override;
};
