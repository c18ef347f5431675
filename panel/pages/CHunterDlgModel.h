#pragma once
// The hunter page without its widgets: starting and stopping the hunter,
// its log, the proxies it finds, and deleting found proxies from the pool.

#include <functional>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"
#include "platform/Messages.h"
#include "settings/CHunterSettings.h"

class CProxyConfig;
class IListSink;
class IProxyPoolOps;
class IProxyRows;
class IWorkerControl;

class CHunterDlgModel {
public:
    struct Engine {
        IWorkerControl& hunter;
        CProxyConfig& bridge;
        IProxyPoolOps& pool;
        // The source the hunter will crawl.
        std::function<eUrlSource()> sourceType;
        // The connection test; empty uses the system's.
        std::function<bool()> connected;
    };
    struct State {
        bool runningLook = false;
        std::string log;
        // Start's faces (normal, pushed, disabled; 0 for none).
        unsigned startImage = 0;
        unsigned startPushedImage = 0;
        unsigned startDisabledImage = 0;
        // "Custom Settings" and "DeleteProxy".
        bool toolsEnabled = true;
    };

    CHunterDlgModel(Engine engine, platform::HWND page);

    // After the tips and the list's columns.
    void Init();
    const State& GetState() const { return m_State; }

    void OnStartStop();
    void OnDeleteProxy(IProxyRows& rows);
    // WM_RELAY_PROXYCONFIG_END, _LOG, _FOUND.
    void OnEnd();
    void OnLog();
    void OnFound(IListSink& list);
    // The page window is going: the bridge forgets it first.
    void Destroy();

    static std::vector<PageTip> Tips();
    // The hunter section of the engine's settings.
    static eUrlSource EngineSourceType();

private:
    void AppendLog(const std::string& text);
    void ShowLook(bool running);

    Engine m_Engine;
    platform::HWND m_Page;
    State m_State;
};
