#pragma once
// The General page without its widgets: what each control shows from the
// working settings, what each change writes there, the port conflict check,
// the presets and the start/stop button. The view shows State() after
// every call and reports the user's edits back.

#include <string>
#include <vector>

#include "panel/pages/PageTip.h"

class IPageHost;

class CGeneralDlgModel {
public:
    struct State {
        std::string serverPort;
        int serverType = -1;  // index in the server-type list; -1 none
        std::string serverTypeTip;
        bool firewall = false;
        bool firewallControlsEnabled = false;
        std::string firewallIP;
        std::string firewallPort;
        int firewallType = 0;
        bool autostart = false;
        bool trayNotifications = false;
        int levelButton = 0;  // the checked preset radio; 0 none
        std::string startStopTip;
        unsigned startStopImage = 0;
        unsigned startStopPushedImage = 0;
        bool startStopEnabled = true;
        bool serverControlsEnabled = true;  // server-port edit and type list
    };

    explicit CGeneralDlgModel(IPageHost& host);

    // The page's initialisation after its tips: the engine's look, then the
    // controls.
    void Init();
    // Fills the controls from the working copy (also after each preset).
    void FillControls();
    const State& GetState() const { return m_State; }
    bool IsLoading() const { return m_bLoading; }

    // Change handlers (the view passes what the control now holds).
    void OnServerPortChanged(const std::string& text);
    void OnServerTypeChanged(int index);
    void OnFirewallClicked(bool checked);
    void OnFirewallIPChanged(const std::string& text);
    void OnFirewallPortChanged(const std::string& text);
    void OnFirewallTypeChanged(int index);
    void OnAutostartClicked(bool checked);
    void OnTrayClicked(bool checked);
    void OnMaximum();
    void OnDefault();
    void OnMinimum();
    void OnCustom();
    // The server-port edit lost the focus.
    void OnServerPortKillFocus();
    void OnStartStop();
    // The engine notices as the main window relays them.
    void ShowServerState(bool running);

    static const std::vector<PageTip>& Tips();
    static const std::vector<std::string>& ServerTypeNames();
    static const std::vector<std::string>& FirewallTypeNames();
    static const char* StartTip();
    static const char* StopTip();

private:
    void Modified(int kind);
    void ApplyPreset(int level, int kind);
    void ResetServerPort();

    IPageHost& m_Host;
    State m_State;
    bool m_bLoading = false;
};
