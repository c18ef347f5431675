#include "panel/app/CKVDeskHost.h"

#include "panel/app/CEngineControl.h"
#include "panel/app/CKVDeskModule.h"
#include "panel/app/HostRules.h"
#include "panel/main/CMainDlg.h"
#include "platform/ExitSignals.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/SessionClient.h"

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kAutoStartValue = "KVAutoStart";

}  // namespace

CKVDeskHost::CKVDeskHost(std::vector<std::string> arguments, std::unique_ptr<CEngineControl> engine)
    : CServerHost(std::move(engine)), m_CommandLine(CKVDeskCommandLine::Parse(arguments)) {}

CKVDeskHost::~CKVDeskHost() = default;

void CKVDeskHost::SetCommandLine(const std::vector<std::string>& arguments) {
    m_CommandLine = CKVDeskCommandLine::Parse(arguments);
}

int CKVDeskHost::InitInstance() {
    // Before any settings are read: every registry access of the process
    // goes below this program's root key.
    CSettings::mRunningApp = kDefaultRunningApp;
    CSettings::mAppName = eKVDesk;
    platform::RegKey run;
    if (run.Open(platform::HKEY_LOCAL_MACHINE, kRunKey, platform::KEY_READ | platform::KEY_WRITE) ==
        platform::ERROR_SUCCESS) {
        run.DeleteValue(kAutoStartValue);
    }
    return Run();
}

int CKVDeskHost::ExitInstance() {
    Stop();
    if (hostrules::CleansAtExit(GetEngine().EngineSettings())) StartDetached(hostrules::kCleanerProgram, {});
    if (m_bClassObjectsRegistered) RevokeClassObjects();
    if (m_pSession) m_pSession->ConfirmEnd();
    m_pSession.reset();
    if (m_bWatchingEnd) platform::ExitSignals::Unwatch();
    m_bWatchingEnd = false;
    return 0;
}

void CKVDeskHost::EndOrderly() {
    if (CMainDlg* main = GetMainWnd()) main->OnCancel();
    else platform::PostQuitMessage(0);
}

void CKVDeskHost::WatchEndRequests() {
    platform::ExitSignals::Watch([this](int) { EndOrderly(); });
    m_bWatchingEnd = true;
    m_pSession = std::make_unique<platform::SessionClient>(
        "KVDesk", platform::SessionClient::Handlers{[this] {
                                                        if (CMainDlg* main = GetMainWnd()) main->OnQueryEndSession();
                                                    },
                                                    [this] { EndOrderly(); }});
}

int CKVDeskHost::InitInstanceCore() { return HandleCommandLine(); }

// Registration needs no class objects. A window-less start has nothing to
// do without its object and ends; the panel runs without it.
int CKVDeskHost::HandleCommandLine() {
    using eAction = CKVDeskCommandLine::eAction;
    using eNameClaim = CKVDeskModule::eNameClaim;
    const eAction action = m_CommandLine.Action();
    switch (action) {
    case eAction::Unregister:
        CKVDeskModule::UnregisterAppId();
        CKVDeskModule::UnregisterServer();
        return 0;
    case eAction::Register:
        CKVDeskModule::RegisterAppId();
        CKVDeskModule::RegisterServer();
        return 0;
    case eAction::Automation:
    case eAction::Panel:
        break;
    }
    const bool windowLess = action == eAction::Automation;
    m_bClassObjectsRegistered = CKVDeskModule::RegisterClassObjects(windowLess ? eNameClaim::Yield : eNameClaim::Take);
    if (windowLess && !m_bClassObjectsRegistered) return 0;
    WatchEndRequests();
    return windowLess ? 1 : 2;
}

void CKVDeskHost::RevokeClassObjects() {
    CKVDeskModule::RevokeClassObjects();
    m_bClassObjectsRegistered = false;
}

void CKVDeskHost::ApplySettings() {
    GetEngine().ApplySettings(GetSettings());
    if (m_pMainDlg) {
        m_pMainDlg->SetModified(true, m_pMainDlg->Model().ChangeKind());
        m_pMainDlg->Apply();
    }
}

CMainDlg* CKVDeskHost::GetMainWnd() { return m_pMainDlg; }

void CKVDeskHost::RunMainDialog() {
    CMainDlg dialog(this);
    dialog.SetMainWindow(true);
    m_pMainDlg = &dialog;
    GetEngine().AttachView(dialog.GetMessageWindow());
    if (dialog.Create()) dialog.ShowModal();
    GetEngine().DettachView();
    dialog.DestroyWindow();
    m_pMainDlg = nullptr;
}

void CKVDeskHost::ShowHelp() {
    StartDetached(hostrules::kHelpViewer, {hostrules::HelpFile(ProgramFolder()).string()});
}

void CKVDeskHost::StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    platform::StartProcess(program, arguments);
}

std::filesystem::path CKVDeskHost::ProgramFolder() const { return platform::ProgramImageFolder(); }
