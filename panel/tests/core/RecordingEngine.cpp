#include "RecordingEngine.h"

namespace coretest {

bool RecordingEngine::InitEngine() {
    Note("InitEngine");
    return !passThrough_ || CEngineControl::InitEngine();
}

bool RecordingEngine::CreateServerThread() {
    Note("CreateServerThread");
    return !passThrough_ || CEngineControl::CreateServerThread();
}

void RecordingEngine::SetAnalyzerOnlyHttp(bool onlyHttp) {
    Note(onlyHttp ? "SetAnalyzerOnlyHttp(true)" : "SetAnalyzerOnlyHttp(false)");
    if (passThrough_) CEngineControl::SetAnalyzerOnlyHttp(onlyHttp);
}

void RecordingEngine::AttachView(platform::HWND view) {
    Note("AttachView");
    if (passThrough_) CEngineControl::AttachView(view);
}

void RecordingEngine::DettachView() {
    Note("DettachView");
    if (passThrough_) CEngineControl::DettachView();
}

void RecordingEngine::StartServer() {
    Note("StartServer");
    if (passThrough_) CEngineControl::StartServer();
}

void RecordingEngine::StopServer() {
    Note("StopServer");
    if (passThrough_) CEngineControl::StopServer();
}

bool RecordingEngine::IsRunning() const { return passThrough_ && CEngineControl::IsRunning(); }

void RecordingEngine::SetShuttingDown(bool shuttingDown) {
    Note(shuttingDown ? "SetShuttingDown(true)" : "SetShuttingDown(false)");
    shuttingDown_ = shuttingDown;
    if (passThrough_) CEngineControl::SetShuttingDown(shuttingDown);
}

bool RecordingEngine::IsShuttingDown() const {
    return passThrough_ ? CEngineControl::IsShuttingDown() : shuttingDown_;
}

void RecordingEngine::StopAnalyzer() {
    Note("StopAnalyzer");
    if (passThrough_) CEngineControl::StopAnalyzer();
}

void RecordingEngine::StopHunter() {
    Note("StopHunter");
    if (passThrough_) CEngineControl::StopHunter();
}

void RecordingEngine::StopAnalyzingPrivateList() {
    Note("StopAnalyzingPrivateList");
    if (passThrough_) CEngineControl::StopAnalyzingPrivateList();
}

void RecordingEngine::PostQuitToServerThread() {
    Note("PostQuitToServerThread");
    if (passThrough_) CEngineControl::PostQuitToServerThread();
}

void RecordingEngine::PostQuitToUtilThread() {
    Note("PostQuitToUtilThread");
    if (passThrough_) CEngineControl::PostQuitToUtilThread();
}

void RecordingEngine::WaitForServerThread() {
    Note("WaitForServerThread");
    if (passThrough_) CEngineControl::WaitForServerThread();
}

void RecordingEngine::WaitForUtilThread() {
    Note("WaitForUtilThread");
    if (passThrough_) CEngineControl::WaitForUtilThread();
}

void RecordingEngine::ExitEngine() {
    Note("ExitEngine");
    if (passThrough_) CEngineControl::ExitEngine();
}

CSettings RecordingEngine::EngineSettings() const {
    return passThrough_ ? CEngineControl::EngineSettings() : settings;
}

void RecordingEngine::ApplySettings(CSettings& applied) {
    Note("ApplySettings");
    settings = applied;
    if (passThrough_) CEngineControl::ApplySettings(applied);
}

void RecordingEngine::HandleSettingsChange() {
    Note("HandleSettingsChange");
    if (passThrough_) CEngineControl::HandleSettingsChange();
}

void RecordingEngine::SendProxyStatusChange(unsigned state) {
    Note("SendProxyStatusChange(" + std::to_string(state) + ")");
    if (passThrough_) CEngineControl::SendProxyStatusChange(state);
}

void RecordingEngine::RestoreConfiguration() {
    Note("RestoreConfiguration");
    if (passThrough_) CEngineControl::RestoreConfiguration();
}

void RecordingEngine::SetToIE() {
    Note("SetToIE");
    if (passThrough_) CEngineControl::SetToIE();
}

}  // namespace coretest
