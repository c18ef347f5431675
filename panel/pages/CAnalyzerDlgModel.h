#pragma once
// The analyzer page without its widgets: starting and stopping the
// analyzer, its time-out, and what its bridge's notices change (the log
// text, the found proxies, the end of the run).

#include <functional>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"
#include "platform/Messages.h"

class CAnalyzerConfig;
class IListSink;
class IWorkerControl;

class CAnalyzerDlgModel {
public:
    struct State {
        std::string timeOut;
        std::string log;
        unsigned image = 0;  // the start/stop picture
    };

    // analyzer: the thread; config: its options and bridge; page: the
    // window its bridge posts to; connected: the connection test.
    CAnalyzerDlgModel(IWorkerControl& analyzer, CAnalyzerConfig& config, platform::HWND page,
                      std::function<bool()> connected = {});

    // After the tips, before the list's header is set up (the view adds the
    // columns in between).
    void Init();
    const State& GetState() const { return m_State; }

    void OnTimeOutChanged(const std::string& text) { m_State.timeOut = text; }
    void OnStartStop();
    // WM_RELAY_PROXYCONFIG_END, _LOG, _FOUND.
    void OnEnd();
    void OnLog();
    void OnFound(IListSink& list);
    // The page window is going: the bridge forgets it first.
    void Destroy();

    static std::vector<PageTip> Tips();

private:
    IWorkerControl& m_Analyzer;
    CAnalyzerConfig& m_Config;
    platform::HWND m_Page;
    std::function<bool()> m_Connected;
    State m_State;
};
