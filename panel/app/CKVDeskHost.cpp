#include "panel/app/CKVDeskHost.h"

#include "panel/app/CEngineControl.h"
#include "panel/app/CKVDeskModule.h"
#include "panel/app/HostRules.h"
#include "panel/main/CMainDlg.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Root.h"

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
    return 0;
}

int CKVDeskHost::InitInstanceCore() { return HandleCommandLine(); }

int CKVDeskHost::HandleCommandLine() {
    if (!CKVDeskModule::RegisterClassObjects()) return 0;
    m_bClassObjectsRegistered = true;
    switch (m_CommandLine.Action()) {
    case CKVDeskCommandLine::eAction::Automation:
        return 1;
    case CKVDeskCommandLine::eAction::Unregister:
        CKVDeskModule::UnregisterAppId();
        CKVDeskModule::UnregisterServer();
        return 0;
    case CKVDeskCommandLine::eAction::Register:
        CKVDeskModule::RegisterAppId();
        CKVDeskModule::RegisterServer();
        return 0;
    case CKVDeskCommandLine::eAction::Panel:
        break;
    }
    return 2;
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
