#pragma once
// The application's host with a recording engine: program starts are
// recorded into the same log as the engine's steps, and the main window
// can be replaced by a stand-in (no display needed).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RecordingEngine.h"
#include "panel/app/CKVDeskHost.h"

namespace coretest {

class TestHost : public CKVDeskHost {
public:
    explicit TestHost(std::vector<std::string> arguments = {}, bool realEngine = false)
        : TestHost(std::move(arguments), std::make_unique<std::vector<std::string>>(), realEngine) {}

    std::vector<std::string>& log() { return *log_; }
    RecordingEngine& engine() { return static_cast<RecordingEngine&>(GetEngine()); }

    // Runs instead of the real main window when set.
    std::function<void(TestHost&)> mainDialog;
    std::filesystem::path programFolder = "/opt/Kavelin Pro";

    // A main window a test made itself, answered as the host's own.
    CMainDlg* shownMainWindow = nullptr;
    CMainDlg* GetMainWnd() override { return shownMainWindow ? shownMainWindow : CKVDeskHost::GetMainWnd(); }

    void RunMainDialog() override {
        log_->push_back("RunMainDialog");
        if (mainDialog) mainDialog(*this);
        else CKVDeskHost::RunMainDialog();
    }

protected:
    void StartDetached(const std::string& program, const std::vector<std::string>& arguments) override {
        std::string line = "Start " + program;
        for (const std::string& argument : arguments) line += " [" + argument + "]";
        log_->push_back(line);
    }
    std::filesystem::path ProgramFolder() const override { return programFolder; }
    void WatchEndRequests() override { log_->push_back("WatchEndRequests"); }

private:
    TestHost(std::vector<std::string> arguments, std::unique_ptr<std::vector<std::string>> log, bool realEngine)
        : CKVDeskHost(std::move(arguments), std::make_unique<RecordingEngine>(*log, realEngine)),
          log_(std::move(log)) {}

    std::unique_ptr<std::vector<std::string>> log_;
};

}  // namespace coretest
