#pragma once
// What the main window asks of the General page while it exists: the
// engine's running/stopped notices (start/stop button and the server port
// and type controls) and Apply's switch to the custom protection level.

class IGeneralPage {
public:
    virtual ~IGeneralPage() = default;

    virtual void OnServerStopped() = 0;
    virtual void OnServerStarted() = 0;
    virtual void SelectCustomLevel() = 0;
};
