#pragma once
// Starts the whole engine in the test's own root, as the control panel
// does: settings written to the registry, a recording view attached, the
// proxy-server thread created and told to start; and stops it as the panel
// does at exit (shutting down, stop, WM_QUIT, both threads waited for).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/RecordingView.h"
#include "platform/MessageBox.h"
#include "platform/Thread.h"
#include "settings/CSettings.h"
#include "support/TempRoot.h"

class CThread;

namespace srvtest {

inline constexpr std::chrono::seconds kEngineLimit{20};

struct EngineSettings {
    std::uint16_t port = 0;  // the listener port; 0 picks a free one
    bool chain = false;      // IP shielding and the proxy chain
    int chainLength = 2;
    bool autoIE = false;     // point the system browser at the relay
    bool incomingFilter = false;
    // Last changes to the settings the engine starts with.
    std::function<void(CSettings&)> adjust = nullptr;
    // The private-list analysis each server start runs. None: a stand-in
    // that checks nothing, so that a test's scripted hops see only the
    // connections the test makes.
    std::function<std::unique_ptr<CThread>()> privateListAnalyzer = nullptr;
};

struct RecordedBox {
    std::string text;
    std::string caption;
    platform::UINT type = 0;
};

class EngineTest : public kvtest::RootedTest {
protected:
    EngineTest();
    ~EngineTest() override;

    // Starts the engine; the outcome comes to view_ (0x8DC or 0x8DD).
    void StartEngine(const EngineSettings& settings);
    // Starts and waits for 0x8DC.
    void StartRunningEngine(const EngineSettings& settings = {});
    void StopEngine();
    static CSettings MakeSettings(const EngineSettings& settings, std::uint16_t port);

    std::uint16_t port() const { return port_; }
    std::string ProxyAddress() const;
    std::vector<RecordedBox> Boxes() const;
    // Descriptors the test program holds now.
    static int OpenDescriptors();

    RecordingView view_;

private:
    std::uint16_t port_ = 0;
    bool running_ = false;
    platform::Thread serverThread_;
    platform::MessageBoxHandler previousBoxHandler_;
    mutable std::mutex boxesMutex_;
    std::vector<RecordedBox> boxes_;
};

}  // namespace srvtest
