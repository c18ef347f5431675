#pragma once
// A page host for the pages' models: its own working settings, and every
// modified flag a model raised, in order; the engine commands do nothing.

#include <utility>
#include <vector>

#include "panel/pages/IPageHost.h"
#include "settings/CSettings.h"

namespace paneltest {

class RecordingPageHost : public IPageHost {
public:
    CSettings settings;
    std::vector<std::pair<bool, int>> modified;

    CSettings& WorkingSettings() override { return settings; }
    void SetModified(bool m, int kind) override { modified.emplace_back(m, kind); }
    void StartServer() override {}
    void StopServer() override {}
    bool IsServerRunning() override { return false; }
    void ApplySettings() override {}
    void ShowHelp() override {}
};

}  // namespace paneltest
