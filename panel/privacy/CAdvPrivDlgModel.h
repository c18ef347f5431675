#pragma once
// The privacy page without its widgets: IP shielding, one proxy (the best
// one or the user's own) or a chain, chain length and time to change, and
// the use of the maker's proxy list. Every mode change and edit goes into
// the privacy section of the working settings at once; the view shows
// GetState() after every call and reports the user's edits back.

#include <map>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"

class CPrivacySettings;
class IPageHost;

class CAdvPrivDlgModel {
public:
    struct State {
        bool shield = false;          // 1043
        bool oneProxy = false;        // 1008
        bool chain = false;           // 1009
        bool bestProxy = false;       // 1101
        bool userProxy = false;       // 1102
        bool privateProxies = false;  // 1010
        std::string chainLength;      // 1107
        std::string chainTimer;       // 1161
        std::string userIP;           // 1006
        std::string userPort;         // 1103
        int userType = -1;            // 1117: index in TypeNames(); -1 none
        std::map<int, bool> enabled;  // by control id; absent means enabled

        bool IsEnabled(int control) const;
    };

    explicit CAdvPrivDlgModel(IPageHost& host);

    // The page's initialisation (after its tips).
    void Init();
    const State& GetState() const { return m_State; }
    bool IsInitialising() const { return m_bInitialising; }

    // Commands (the view passes what the control now holds).
    void OnShieldClicked(bool checked);
    void OnOneProxy();
    void OnChain();
    void OnBestProxy();
    void OnUserProxy();
    void OnPrivateProxiesClicked(bool checked);
    // Change notifications of the edits and the list.
    void OnChainLengthChanged(const std::string& text);
    void OnChainTimerChanged(const std::string& text);
    void OnUserPortChanged(const std::string& text);
    void OnUserIPChanged(const std::string& text);
    // The selected entry's text.
    void OnUserTypeChanged(const std::string& entry);
    // WM_PRIVACY_ON (true) / WM_PRIVACY_OFF (false) from the filter switch.
    void OnPrivacyNotice(bool on);

    static const std::vector<PageTip>& Tips();
    // "HTTP", "HTTPS", "SOCKS4", "SOCKS5": proxy types 2 to 5.
    static const std::vector<std::string>& TypeNames();

private:
    CPrivacySettings& Privacy();
    void Modified(int kind);
    // The shield check box to and from the shield integer.
    void ReadControls();
    void WriteControls();
    void Enable(const std::vector<int>& controls, bool enable);
    void ShieldOn();
    void ShieldOff();
    void ChainMode();
    void OneProxyMode();
    void BestProxy();
    void UserProxy();

    IPageHost& m_Host;
    State m_State;
    int m_iShield = 0;
    int m_iUseChain = 0;
    int m_iPrivateProxies = 0;
    bool m_bInitialising = false;
    bool m_bBestChoice = false;
};
