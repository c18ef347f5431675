#pragma once
// The hunter as the facade and the pool call it. The default never hunts;
// the hunter takes its place with CBaseServer::SetEngineHunter.

class CHunterSettings;

class IEngineHunter {
public:
    virtual ~IEngineHunter() = default;

    // The address of the engine settings' hunter section (stays valid).
    virtual void SetSettings(CHunterSettings*) {}
    // The download thread lives while a view is attached.
    virtual void StartupDownloads() {}
    virtual void ShutdownDownloads() {}
    virtual bool IsRunning() { return false; }
    // Sets the analyse-after-hunt flag and starts a hunt.
    virtual void StartWithAnalysis() {}
};
