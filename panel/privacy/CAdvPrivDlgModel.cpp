#include "panel/privacy/CAdvPrivDlgModel.h"

#include "panel/pages/IPageHost.h"
#include "panel/pages/PageText.h"
#include "panel/privacy/AdvancedPageIds.h"
#include "platform/MessageBox.h"
#include "settings/CSettings.h"

namespace {

constexpr const char* kCaption = "Kavelin Professional Edition";
constexpr const char* kChainLengthRange = "Chain length ranges between 1 and %d";
constexpr const char* kChainTimerRange = "Time to change chain ranges between 5 and 120 minutes";
constexpr int kMaxChainLength = 5;
constexpr int kMaxChainTimer = 120;
constexpr int kKindOrdinary = 0;
constexpr int kKindUserProxyAddress = 5;

constexpr const char* kTypeNames[] = {"HTTP", "HTTPS", "SOCKS4", "SOCKS5"};
constexpr platform::DWORD kFirstType = 2;  // "HTTP"

// The user proxy's address, port and type with their labels.
const std::vector<int> kUserProxyControls = {IDC_USER_IP,   IDC_USER_IP_LABEL,   IDC_USER_PORT,
                                             IDC_USER_PORT_LABEL, IDC_USER_TYPE, IDC_USER_TYPE_LABEL};
const std::vector<int> kChainControls = {IDC_CHAIN_LENGTH, IDC_CHAIN_LENGTH_LABEL, IDC_CHAIN_TIMER,
                                         IDC_CHAIN_TIMER_LABEL, IDC_CHAIN_TIMER_UNIT};
const std::vector<int> kChoiceRadios = {IDC_BEST_PROXY, IDC_USER_PROXY};
const std::vector<int> kAllButShield = {
    IDC_ONE_PROXY,       IDC_BEST_PROXY,        IDC_USER_PROXY,  IDC_USER_IP,
    IDC_USER_IP_LABEL,   IDC_USER_PORT,         IDC_USER_PORT_LABEL, IDC_USER_TYPE,
    IDC_USER_TYPE_LABEL, IDC_PROXY_CHAIN,       IDC_CHAIN_LENGTH, IDC_CHAIN_LENGTH_LABEL,
    IDC_CHAIN_TIMER,     IDC_CHAIN_TIMER_LABEL, IDC_CHAIN_TIMER_UNIT, IDC_PRIVATE_PROXIES};

void ShowRangeMessage(const std::string& text) {
    platform::MessageBox(platform::HWND(), text, kCaption, platform::MB_OK);
}

}  // namespace

bool CAdvPrivDlgModel::State::IsEnabled(int control) const {
    const auto found = enabled.find(control);
    return found == enabled.end() || found->second;
}

CAdvPrivDlgModel::CAdvPrivDlgModel(IPageHost& host) : m_Host(host) {}

const std::vector<PageTip>& CAdvPrivDlgModel::Tips() {
    static const std::vector<PageTip> tips = {
        {IDC_IP_SHIELDING, PageString(1077)}, {IDC_ONE_PROXY, PageString(1078)},
        {IDC_BEST_PROXY, PageString(1079)},   {IDC_USER_PROXY, PageString(1080)},
        {IDC_USER_IP, PageString(1081)},      {IDC_USER_PORT, PageString(1082)},
        {IDC_USER_TYPE, PageString(1083)},    {IDC_PROXY_CHAIN, PageString(1084)},
        {IDC_CHAIN_LENGTH, PageString(1085)}, {IDC_CHAIN_TIMER, PageString(1086)},
        {IDC_PRIVATE_PROXIES, PageString(32785)},
    };
    return tips;
}

const std::vector<std::string>& CAdvPrivDlgModel::TypeNames() {
    static const std::vector<std::string> names(std::begin(kTypeNames), std::end(kTypeNames));
    return names;
}

CPrivacySettings& CAdvPrivDlgModel::Privacy() { return *m_Host.WorkingSettings().getPrivacySettings(); }

void CAdvPrivDlgModel::Modified(int kind) {
    if (!m_bInitialising) m_Host.SetModified(true, kind);
}

void CAdvPrivDlgModel::ReadControls() { m_iShield = m_State.shield ? 1 : 0; }
void CAdvPrivDlgModel::WriteControls() { m_State.shield = m_iShield != 0; }

void CAdvPrivDlgModel::Enable(const std::vector<int>& controls, bool enable) {
    for (int control : controls) m_State.enabled[control] = enable;
}

void CAdvPrivDlgModel::Init() {
    m_bInitialising = true;
    CPrivacySettings& privacy = Privacy();
    m_iShield = static_cast<int>(privacy.mEnableIPShielding);
    m_iUseChain = static_cast<int>(privacy.mEnableProxyChain);
    m_iPrivateProxies = static_cast<int>(privacy.mUsePrivateProxies);
    // The choice radios and the user proxy's controls follow the stored
    // choice from the start, so the page never shows one choice while the
    // settings hold the other.
    m_bBestChoice = privacy.mProxyBestChoice == 1;

    // The edits' fills pass their change checks, as typing would.
    OnChainLengthChanged(DecimalText(privacy.mChainLength));
    OnChainTimerChanged(DecimalText(privacy.mChainTimer));
    m_State.userIP = privacy.mUserIP;
    m_State.userPort = DecimalText(privacy.mUserPort);
    m_State.userType = -1;
    if (privacy.mUserType >= kFirstType && privacy.mUserType < kFirstType + std::size(kTypeNames)) {
        m_State.userType = static_cast<int>(privacy.mUserType - kFirstType);
    }
    WriteControls();

    Enable({IDC_PRIVATE_PROXIES}, true);
    m_State.privateProxies = m_iPrivateProxies != 0;
    privacy.mEnableIPShielding = 1;
    Enable({IDC_ONE_PROXY, IDC_PROXY_CHAIN}, true);

    if (privacy.mEnableProxyChain != 0) {
        m_State.bestProxy = m_bBestChoice;
        m_State.userProxy = !m_bBestChoice;
        ChainMode();
        privacy.mEnableProxyChain = 1;
    } else {
        OneProxyMode();
        if (privacy.mProxyBestChoice == 1) BestProxy();
        else UserProxy();
        Enable(kChainControls, false);
        privacy.mEnableProxyChain = 0;
    }

    if (m_iShield == 0) {
        privacy.mEnableIPShielding = 0;
        Enable(kAllButShield, false);
    }

    ReadControls();
    WriteControls();
    m_bInitialising = false;
}

void CAdvPrivDlgModel::ShieldOn() {
    Privacy().mEnableIPShielding = 1;
    Enable({IDC_ONE_PROXY, IDC_PROXY_CHAIN, IDC_PRIVATE_PROXIES}, true);
    if (m_iUseChain != 0) ChainMode();
    else OneProxyMode();
}

void CAdvPrivDlgModel::ShieldOff() {
    Privacy().mEnableIPShielding = 0;
    Enable(kAllButShield, false);
}

void CAdvPrivDlgModel::ChainMode() {
    ReadControls();
    m_iUseChain = 1;
    CPrivacySettings& privacy = Privacy();
    privacy.mEnableProxyChain = 1;
    privacy.mChainLength = static_cast<platform::DWORD>(AsciiToInt(m_State.chainLength));
    privacy.mChainTimer = static_cast<platform::DWORD>(AsciiToInt(m_State.chainTimer));
    m_State.oneProxy = false;
    m_State.chain = true;
    Enable(kChoiceRadios, false);
    Enable(kUserProxyControls, false);
    Enable(kChainControls, true);
}

void CAdvPrivDlgModel::OneProxyMode() {
    m_State.chain = false;
    m_State.oneProxy = true;
    Privacy().mEnableProxyChain = 0;
    ReadControls();
    m_iUseChain = 0;
    Enable(kChoiceRadios, true);
    Enable(kUserProxyControls, !m_bBestChoice);
    Enable(kChainControls, false);
}

void CAdvPrivDlgModel::BestProxy() {
    m_bBestChoice = true;
    Privacy().mProxyBestChoice = 1;
    Privacy().mChainLength = 1;
    Enable(kUserProxyControls, false);
    m_State.bestProxy = true;
    m_State.userProxy = false;
}

void CAdvPrivDlgModel::UserProxy() {
    m_bBestChoice = false;
    Privacy().mProxyBestChoice = 0;
    Privacy().mChainLength = 1;
    Enable(kUserProxyControls, true);
    m_State.bestProxy = false;
    m_State.userProxy = true;
}

void CAdvPrivDlgModel::OnShieldClicked(bool checked) {
    m_State.shield = checked;
    ReadControls();
    if (m_iShield != 0) ShieldOn();
    else ShieldOff();
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnOneProxy() {
    OneProxyMode();
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnChain() {
    ChainMode();
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnBestProxy() {
    BestProxy();
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnUserProxy() {
    UserProxy();
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnPrivateProxiesClicked(bool checked) {
    m_State.privateProxies = checked;
    Privacy().mUsePrivateProxies = checked ? 1 : 0;
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnChainLengthChanged(const std::string& text) {
    m_State.chainLength = text;
    const int value = AsciiToInt(text);
    if (value > kMaxChainLength || value <= 0) {
        std::string message(kChainLengthRange);
        message.replace(message.find("%d"), 2, DecimalText(kMaxChainLength));
        ShowRangeMessage(message);
        m_State.chainLength = "1";
        Privacy().mChainLength = 1;
    } else {
        Privacy().mChainLength = static_cast<platform::DWORD>(value);
    }
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnChainTimerChanged(const std::string& text) {
    m_State.chainTimer = text;
    const int value = AsciiToInt(text);
    // A negative time would be stored as a huge unsigned number: it is out
    // of range like one above the maximum.
    if (value >= 0 && value <= kMaxChainTimer) {
        Privacy().mChainTimer = static_cast<platform::DWORD>(value);
    } else {
        ShowRangeMessage(kChainTimerRange);
        m_State.chainTimer = "5";
        Privacy().mChainTimer = 5;
    }
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnUserPortChanged(const std::string& text) {
    m_State.userPort = text;
    Privacy().mUserPort = static_cast<platform::DWORD>(AsciiToInt(text));
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnUserIPChanged(const std::string& text) {
    m_State.userIP = text;
    Privacy().mUserIP = text;
    Modified(kKindUserProxyAddress);
}

void CAdvPrivDlgModel::OnUserTypeChanged(const std::string& entry) {
    for (std::size_t i = 0; i < std::size(kTypeNames); ++i) {
        if (entry == kTypeNames[i]) {
            m_State.userType = static_cast<int>(i);
            Privacy().mUserType = kFirstType + static_cast<platform::DWORD>(i);
        }
    }
    Modified(kKindOrdinary);
}

void CAdvPrivDlgModel::OnPrivacyNotice(bool on) {
    m_iShield = on ? 1 : 0;
    WriteControls();
    OnShieldClicked(m_State.shield);
}
