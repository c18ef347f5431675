#include "panel/app/CServerHost.h"

#include "panel/app/CEngineControl.h"
#include "panel/app/HostRules.h"
#include "panel/automation/CFilterSwitch.h"
#include "panel/main/CBaseDlg.h"
#include "panel/main/CMainDlg.h"
#include "panel/main/PanelCommands.h"
#include "panel/tray/CSystemTray.h"
#include "platform/Event.h"
#include "platform/Time.h"

namespace {

constexpr platform::DWORD kSettleMs = 200;

CServerHost* gCurrentHost = nullptr;

}  // namespace

// Destroyed in reverse order: the settings copy, the tray, the filter switch.
struct CServerHost::Members {
    explicit Members(CServerHost& host, std::unique_ptr<CEngineControl> control)
        : engine(control ? std::move(control) : std::make_unique<CEngineControl>()), filterSwitch(host) {}

    std::unique_ptr<CEngineControl> engine;
    CFilterSwitch filterSwitch;
    CSystemTray tray;
    std::unique_ptr<CBaseDlg> madePage;
    // Made when the engine starts, initially signalled; nothing waits on it.
    platform::Event namedEvent;
    bool engineStarted = false;
    CSettings settings;
};

CServerHost::CServerHost(std::unique_ptr<CEngineControl> engine)
    : m_(std::make_unique<Members>(*this, std::move(engine))) {
    gCurrentHost = this;
}

CServerHost::~CServerHost() {
    platform::Sleep(kSettleMs);
    if (gCurrentHost == this) gCurrentHost = nullptr;
}

CServerHost* CServerHost::Current() { return gCurrentHost; }

int CServerHost::Run() {
    m_->engine->SetShuttingDown(false);
    const int core = InitInstanceCore();
    if (core == 0 || core == 1) {
        platform::Sleep(kSettleMs);
        return core;
    }
    if (core != 2) return 0;
    m_->engine->SetShuttingDown(false);
    m_->settings.QueryRegistry();
    StartProxyServer();
    RunMainDialog();
    RevokeClassObjects();
    platform::PostQuitMessage(0);
    return 1;
}

bool CServerHost::Stop() { return WaitForEngineStop(); }
int CServerHost::InitInstanceCore() { return 2; }
int CServerHost::HandleCommandLine() { return 2; }
void CServerHost::RevokeClassObjects() {}
void CServerHost::ApplySettings() {}
CMainDlg* CServerHost::GetMainWnd() { return nullptr; }
void CServerHost::RunMainDialog() {}
void CServerHost::ShowHelp() {}

bool CServerHost::StartServer() {
    m_->engine->StartServer();
    return true;
}

bool CServerHost::StopServer() {
    m_->engine->StopServer();
    return true;
}

void CServerHost::OnServerStarted() {
    m_->tray.SetRunning();
    CMainDlg* main = GetMainWnd();
    if (main && main->GetMessageWindow()) {
        platform::PostMessage(main->GetMessageWindow(), WM_PANEL_SERVER_STARTED, 0, 0);
        platform::Sleep(kSettleMs);
    }
}

void CServerHost::OnServerStopped() {
    if (m_->engine->IsShuttingDown()) return;
    m_->tray.SetStopped();
    CMainDlg* main = GetMainWnd();
    if (main && main->GetMessageWindow()) {
        platform::PostMessage(main->GetMessageWindow(), WM_PANEL_SERVER_STOPPED, 0, 0);
    }
}

void CServerHost::UpdateToolBarStatus() {
    for (const unsigned state : hostrules::ToolBarStates(m_->engine->EngineSettings())) {
        m_->engine->SendProxyStatusChange(state);
    }
}

bool CServerHost::Shutdown() {
    CEngineControl& engine = *m_->engine;
    engine.SetShuttingDown(true);
    engine.StopAnalyzer();
    engine.StopHunter();
    engine.StopAnalyzingPrivateList();
    engine.StopServer();
    engine.PostQuitToServerThread();
    engine.PostQuitToUtilThread();
    return true;
}

bool CServerHost::StartProxyServer() {
    CEngineControl& engine = *m_->engine;
    engine.InitEngine();
    m_->engineStarted = true;
    const bool created = engine.CreateServerThread();
    engine.SetAnalyzerOnlyHttp(false);
    StartServer();
    m_->namedEvent = platform::Event(true, true);
    return created;
}

bool CServerHost::WaitForEngineStop() {
    if (!m_->engineStarted) {
        if (m_->namedEvent.IsValid()) m_->namedEvent.Reset();
        m_->namedEvent = {};
        return false;
    }
    CEngineControl& engine = *m_->engine;
    engine.WaitForServerThread();
    m_->namedEvent.Reset();
    m_->namedEvent = {};
    engine.WaitForUtilThread();
    engine.ExitEngine();
    m_->engineStarted = false;
    return true;
}

CFilterSwitch& CServerHost::GetFilterSwitch() { return m_->filterSwitch; }
CSystemTray& CServerHost::GetTray() { return m_->tray; }
CSettings& CServerHost::GetSettings() { return m_->settings; }
const CSettings& CServerHost::GetSettings() const { return m_->settings; }
void CServerHost::SetMadePage(std::unique_ptr<CBaseDlg> page) { m_->madePage = std::move(page); }
std::unique_ptr<CBaseDlg> CServerHost::TakeMadePage() { return std::move(m_->madePage); }
CProxyServer* CServerHost::GetProxyServer() const { return m_->engine->ProxyServer(); }
CEngineControl& CServerHost::GetEngine() { return *m_->engine; }
