#pragma once
// An engine control that records each step the host takes, in order; with
// passThrough it also drives the real engine.

#include <string>
#include <vector>

#include "panel/app/CEngineControl.h"
#include "settings/CSettings.h"

namespace coretest {

class RecordingEngine : public CEngineControl {
public:
    explicit RecordingEngine(std::vector<std::string>& log, bool passThrough = false)
        : log_(log), passThrough_(passThrough) {}

    // What EngineSettings answers without a real engine.
    CSettings settings;

    bool InitEngine() override;
    bool CreateServerThread() override;
    void SetAnalyzerOnlyHttp(bool onlyHttp) override;
    void AttachView(platform::HWND view) override;
    void DettachView() override;
    void StartServer() override;
    void StopServer() override;
    bool IsRunning() const override;
    void SetShuttingDown(bool shuttingDown) override;
    bool IsShuttingDown() const override;
    void StopAnalyzer() override;
    void StopHunter() override;
    void StopAnalyzingPrivateList() override;
    void PostQuitToServerThread() override;
    void PostQuitToUtilThread() override;
    void WaitForServerThread() override;
    void WaitForUtilThread() override;
    void ExitEngine() override;
    CSettings EngineSettings() const override;
    void ApplySettings(CSettings& applied) override;
    void HandleSettingsChange() override;
    void SendProxyStatusChange(unsigned state) override;
    void RestoreConfiguration() override;
    void SetToIE() override;

private:
    void Note(std::string step) const { log_.push_back(std::move(step)); }

    std::vector<std::string>& log_;
    bool passThrough_;
    bool shuttingDown_ = false;
};

}  // namespace coretest
