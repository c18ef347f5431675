#pragma once
// A host over a recording engine, for the automation tests. The engine's
// settings are the real ones (CBaseServer::mSettings, written to the test's
// registry); the relay commands and the running state are recorded; the
// engine is "live" while it holds its (never started) proxy-server object.

#include <memory>
#include <string>
#include <vector>

#include "panel/app/CEngineControl.h"
#include "panel/app/CServerHost.h"
#include "platform/Messages.h"
#include "support/TempRoot.h"

class CProxyServer;

namespace autotest {

class RecordingEngine : public CEngineControl {
public:
    RecordingEngine();
    ~RecordingEngine() override;

    void StartServer() override { calls.push_back("StartServer"); }
    void StopServer() override { calls.push_back("StopServer"); }
    bool IsRunning() const override { return running; }
    CProxyServer* ProxyServer() const override { return live ? m_pServer.get() : nullptr; }
    bool IsShuttingDown() const override { return shuttingDown; }

    bool live = true;
    bool running = false;
    bool shuttingDown = false;
    std::vector<std::string> calls;

private:
    std::unique_ptr<CProxyServer> m_pServer;
};

class RecordingHost : public CServerHost {
public:
    RecordingHost();

    void ApplySettings() override { ++applied; }

    RecordingEngine& engine;
    int applied = 0;
};

// A platform window of the calling thread that records what it is sent.
class RecordingWindow {
public:
    RecordingWindow();
    ~RecordingWindow();
    platform::HWND hwnd() const { return m_hWnd; }
    std::vector<platform::UINT> messages;

private:
    platform::HWND m_hWnd;
};

// Puts a new settings object (the medium preset) into the engine.
void ResetEngineSettings();

// One host for a whole suite: its destructor waits a moment, as the
// program's does at exit.
class SuiteHostTest : public kvtest::RootedTest {
protected:
    static void SetUpTestSuite() { host_ = new RecordingHost; }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    static inline RecordingHost* host_ = nullptr;
};

}  // namespace autotest
