#include "panel/main/CMainDlg.h"

#include <wx/dcclient.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CPictureImage.h"
#include "controls/CToolTipCtrlEx.h"
#include "kvres/DeskStrings.h"
#include "panel/app/CEngineControl.h"
#include "panel/automation/KavelinA.h"
#include "panel/main/CPageMakers.h"
#include "panel/main/IGeneralPage.h"
#include "panel/main/MainDlgIds.h"
#include "panel/main/PanelCommands.h"
#include "panel/tray/CSystemTray.h"
#include "platform/MessageBox.h"
#include "relay/engine/EngineMessages.h"

namespace {

constexpr const char* kWindowText = "Kavelin 2.2";
constexpr const char* kBoxCaption = "Kavelin Professional Edition";
constexpr const char* kAppBoxCaption = "KVDesk";
constexpr const char* kTrayTip = "Kavelin 2.2 Professional";
constexpr const char* kApplyTip =
    "Apply new settings\r\nNote,  You must click apply for your new settings to take effect.";
constexpr unsigned kTrayRunningMenu = 337;
constexpr platform::DWORD kBalloonTimeoutMs = 10000;

// Dialog units of the templates in pixels (fixed base units).
int DuX(int x) { return x * 3 / 2; }
int DuY(int y) { return y * 13 / 8; }
wxPoint DuPoint(int x, int y) { return {DuX(x), DuY(y)}; }
wxSize DuSize(int cx, int cy) { return {DuX(cx), DuY(cy)}; }

// The main window's controls (template 552): id, position, size in
// dialog units.
struct ControlPlace {
    int id;
    int x, y, cx, cy;
};
constexpr ControlPlace kPictureControls[] = {
    {IDC_TAB_GENERAL, 5, 62, 84, 16},  {IDC_TAB_ADVANCED, 4, 83, 84, 16}, {IDC_TAB_PROXY, 4, 104, 84, 16},
    {IDC_TAB_ACTIVITY, 5, 126, 84, 16}, {IDC_TAB_HELP, 4, 147, 84, 16},    {IDC_APPLY, 4, 219, 84, 16},
    {IDC_CLOSE, 4, 241, 84, 16},
};
constexpr ControlPlace kPageFrame = {IDC_PAGE_FRAME, 91, 49, 275, 213};
constexpr int kMainCx = 374;
constexpr int kMainCy = 265;

CMainDlg::PageKind KindOfPage(int templateId) {
    switch (templateId) {
    case IDD_ADVANCED_PAGE: return CMainDlg::kAdvanced;
    case IDD_PROXY_PAGE: return CMainDlg::kProxy;
    case IDD_ACTIVITY_PAGE: return CMainDlg::kActivity;
    case IDD_HELP_PAGE: return CMainDlg::kHelp;
    case IDD_GENERAL_PAGE: return CMainDlg::kGeneral;
    default: return CMainDlg::kPageKinds;
    }
}

// The General page comes from the page factory, through the host's
// made-page slot; the others from their makers.
std::unique_ptr<CBaseDlg> MakePage(int templateId, CServerHost& host) {
    if (templateId != IDD_GENERAL_PAGE) return CPageMakers::Make(templateId, host);
    KavelinA factory(host);
    if (factory.getGeneralDlg() < 0) return nullptr;
    return host.TakeMadePage();
}

}  // namespace

// The message window exists from the start, so the engine can be attached
// before the window runs; its messages are dispatched only by the event
// loop, that is once the window runs.
CMainDlg::CMainDlg(CServerHost* host)
    : CAppNotifier(host),
      m_hMessageWnd(platform::CreateMessageWindow(
          "KVDeskMainWindow", kWindowText,
          [this](platform::HWND, platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
              return OnPlatformMessage(message, wParam, lParam);
          })) {}

CMainDlg::~CMainDlg() {
    if (m_hMessageWnd) platform::DestroyWindow(m_hMessageWnd);
}

bool CMainDlg::Create(wxWindow* parent) {
    return CBaseModalDlg::Create(IDD_MAIN, parent, kWindowText, DuSize(kMainCx, kMainCy),
                                 wxBORDER_NONE | wxSYSTEM_MENU);
}

bool CMainDlg::OnInitDialog() {
    BuildControls();
    SelectTab(0);
    // Icon 2105, big and small: the toolkit scales the one picture.
    SetIcon(CSystemTray::IconOf(IDI_RUNNING));
    SetTitle(kWindowText);
    ShowPage(IDD_GENERAL_PAGE);
    Centre();
    if (CServerHost* host = GetHost()) {
        host->GetTray().Create(this, WM_TRAY_NOTIFY, kTrayTip, IDI_RUNNING, kTrayRunningMenu);
    }
    return true;
}

void CMainDlg::BuildControls() {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_pBackground = std::make_unique<CPictureImage>();
    m_pBackground->LoadFromResource("GIF", IDR_MAIN_BACKGROUND);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(this);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        m_pBackground->Render(dc, 0, 0);
        PaintCaptionStrip(dc);
    });
    for (const ControlPlace& place : kPictureControls) {
        auto* control =
            new CAnimatedGifStatic(this, place.id, DuPoint(place.x, place.y), DuSize(place.cx, place.cy));
        const int id = place.id;
        control->Bind(wxEVT_LEFT_UP, [this, id](wxMouseEvent&) { OnControlClicked(id); });
        if (id == IDC_APPLY) m_pApply = control;
        else if (id == IDC_CLOSE) m_pClose = control;
        else if (auto tab = CMainDlgModel::TabOfControl(id)) m_TabControls[static_cast<std::size_t>(*tab)] = control;
    }
    m_pPageFrame = new wxWindow(this, kPageFrame.id, DuPoint(kPageFrame.x, kPageFrame.y),
                                DuSize(kPageFrame.cx, kPageFrame.cy));
    m_pPageFrame->Hide();

    m_pToolTip = new CToolTipCtrlEx;
    m_pToolTip->Create(this);
    const auto& strings = kvres::DeskStrings();
    const std::pair<int, std::string> tips[] = {
        {IDC_TAB_GENERAL, strings.LoadString(1151)}, {IDC_CLOSE, strings.LoadString(1152)},
        {IDC_APPLY, kApplyTip},                      {IDC_TAB_HELP, strings.LoadString(1154)},
        {IDC_TAB_ACTIVITY, strings.LoadString(1155)}, {IDC_TAB_PROXY, strings.LoadString(1156)},
        {IDC_TAB_ADVANCED, strings.LoadString(1157)},
    };
    for (const auto& [id, text] : tips) {
        if (wxWindow* control = FindWindow(id)) m_pToolTip->AddTool(control, text);
    }

    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) { OnLeftDown(event.GetX(), event.GetY()); });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& event) {
        if (!HasCapture() || !event.LeftIsDown()) return;
        Move(ClientToScreen(event.GetPosition()) - m_DragOffset);
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
        if (HasCapture()) ReleaseMouse();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnCancel(); }, kCmdExit);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnRestoreHelp(); }, kCmdRestoreHelp);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { if (GetHost()) GetHost()->ShowHelp(); }, kCmdShowHelp);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { if (GetHost()) GetHost()->ShowHelp(); }, wxID_HELP);

    m_pExitTimer = std::make_unique<wxTimer>(this, kExitTimerId);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnExitTimer(); }, kExitTimerId);
}

platform::LRESULT CMainDlg::OnPlatformMessage(platform::UINT message, platform::WPARAM wParam,
                                              platform::LPARAM lParam) {
    CServerHost* host = GetHost();
    switch (message) {
    case WM_RELAY_SERVER_RUNNING:
        if (host) host->OnServerStarted();
        return 0;
    case WM_RELAY_SERVER_STOPPED:
        if (host) host->OnServerStopped();
        return 0;
    case WM_PANEL_SERVER_STARTED:
        OnServerNotice(true);
        return 0;
    case WM_PANEL_SERVER_STOPPED:
        OnServerNotice(false);
        return 0;
    case WM_HIDE_TO_TRAY:
        HideToTray();
        return 0;
    case WM_RELAY_BALLOON:
        OnBalloon();
        return 0;
    case WM_RELAY_TOOLBAR_REQUEST:
        return OnToolbarRequest(lParam);
    case platform::WM_CLOSE:
        OnCancel();
        return 0;
    default:
        return platform::DefWindowProc(m_hMessageWnd, message, wParam, lParam);
    }
}

void CMainDlg::SetModified(bool modified, int kind) {
    m_Model.SetModified(modified, kind);
    DrawImage(m_pApply, m_Model.ApplyImage());
}

void CMainDlg::Apply() {
    std::lock_guard lock(m_Lock);
    ApplyLocked();
}

void CMainDlg::ApplyLocked() {
    CServerHost* host = GetHost();
    if (!host) return;
    CSettings& settings = host->GetSettings();
    const CMainDlgModel::ApplyCheck check = CMainDlgModel::CheckApply(settings);
    if (!check.ok) {
        platform::MessageBox(m_hMessageWnd, check.message, check.appMessageBox ? kAppBoxCaption : kBoxCaption,
                             platform::MB_OK);
        return;
    }
    if (m_Model.ApplySetsCustomLevel()) {
        if (auto* general = dynamic_cast<IGeneralPage*>(m_Pages[kGeneral])) general->SelectCustomLevel();
        else settings.getGeneralSettings()->setProtectionLevel(4);
    }
    if (!m_Model.IsModified()) return;
    CEngineControl& engine = host->GetEngine();
    engine.ApplySettings(settings);
    engine.HandleSettingsChange();
    host->UpdateToolBarStatus();
    SetModified(false, 0);
}

// The window has no caption of its own: its strip shows the title, and
// where a press hides it to the tray or ends the panel.
void CMainDlg::PaintCaptionStrip(wxDC& dc) const {
    using Model = CMainDlgModel;
    const int height = Model::kStripBottom + 1;
    const int width = GetClientSize().x;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxColour(0x30, 0x60, 0xA0)));
    dc.DrawRectangle(0, 0, width, height);
    wxFont font = GetFont();
    font.MakeBold();
    dc.SetFont(font);
    dc.SetTextForeground(*wxWHITE);
    dc.DrawLabel(kWindowText, wxRect(8, 0, Model::kHideLeft - 16, height), wxALIGN_LEFT | wxALIGN_CENTRE_VERTICAL);
    dc.DrawLabel("_", wxRect(Model::kHideLeft, 0, Model::kHideRight - Model::kHideLeft + 1, height), wxALIGN_CENTRE);
    dc.DrawLabel("X", wxRect(Model::kExitLeft, 0, width - Model::kExitLeft, height), wxALIGN_CENTRE);
}

void CMainDlg::SelectTab(int index) {
    if (!m_Model.SelectTab(index)) return;
    DrawTabs();
    DrawImage(m_pApply, m_Model.ApplyImage());
    DrawImage(m_pClose, IDR_CLOSE);
}

void CMainDlg::DrawTabs() {
    for (int i = 0; i < CMainDlgModel::kTabCount; ++i) {
        DrawImage(m_TabControls[static_cast<std::size_t>(i)], m_Model.TabImage(i));
    }
}

void CMainDlg::DrawImage(CAnimatedGifStatic* control, unsigned gifId) {
    if (!control || !control->LoadFromResource(gifId)) return;
    control->Draw();
}

void CMainDlg::OnControlClicked(int control) {
    if (control == IDC_APPLY) {
        Apply();
    } else if (control == IDC_CLOSE) {
        OnCancel();
    } else if (auto tab = CMainDlgModel::TabOfControl(control)) {
        const int previous = m_Model.CurrentTab();
        if (m_Model.SelectTabFromCommand(*tab)) {
            if (previous >= 0) DrawImage(m_TabControls[static_cast<std::size_t>(previous)], m_Model.TabImage(previous));
            DrawImage(m_TabControls[static_cast<std::size_t>(*tab)], m_Model.TabImage(*tab));
        }
        ShowPage(m_Model.TabAt(*tab).page);
    }
}

void CMainDlg::OnRestoreHelp() {
    if (IsIconized()) Iconize(false);
    Show();
    OnControlClicked(IDC_TAB_HELP);
}

void CMainDlg::ShowPage(int templateId) {
    DestroyCurrentPage();
    const PageKind kind = KindOfPage(templateId);
    CServerHost* host = GetHost();
    if (kind == kPageKinds || !host) return;
    std::unique_ptr<CBaseDlg> page = MakePage(templateId, *host);
    if (!page || !page->Create(templateId, this)) return;
    CBaseDlg* shown = page.release();  // the window owns itself now
    m_Pages[kind] = shown;
    PlacePage(shown);
}

void CMainDlg::DestroyCurrentPage() {
    if (m_pCurrentPage) {
        m_pCurrentPage->Destroy();
        m_pCurrentPage = nullptr;
        Refresh(true);
    }
    m_Pages.fill(nullptr);
}

void CMainDlg::PlacePage(CBaseDlg* page) {
    m_pCurrentPage = page;
    const wxRect frame = m_pPageFrame->GetRect();
    const wxSize client = m_pPageFrame->GetClientSize();
    page->SetSize(frame.x, frame.y + 1, client.x - 1, client.y);
    page->Show();
    page->Enable();
    page->Refresh();
}

void CMainDlg::OnServerNotice(bool started) {
    auto* general = dynamic_cast<IGeneralPage*>(m_Pages[kGeneral]);
    if (!general) return;
    if (started) general->OnServerStarted();
    else general->OnServerStopped();
}

void CMainDlg::OnBalloon() {
    CServerHost* host = GetHost();
    if (!host) return;
    CEngineControl& engine = host->GetEngine();
    if (!engine.EngineSettings().getGeneralSettings()->getIsBallonShow()) return;
    host->GetTray().ShowBalloon(kWindowText, engine.BallonText(), kBalloonTimeoutMs);
}

void CMainDlg::OnLeftDown(int x, int y) {
    switch (CMainDlgModel::ClickAt(x, y)) {
    case CMainDlgModel::Click::Exit:
        OnCancel();
        return;
    case CMainDlgModel::Click::HideToTray:
        platform::PostMessage(m_hMessageWnd, WM_HIDE_TO_TRAY, 0, 0);
        return;
    case CMainDlgModel::Click::Drag:
        m_DragOffset = ClientToScreen(wxPoint(x, y)) - GetPosition();
        if (!HasCapture()) CaptureMouse();
        return;
    }
}

void CMainDlg::OnCancel() {
    if (m_bExiting) return;
    m_bExiting = true;
    if (CServerHost* host = GetHost()) {
        host->OnServerStopped();
        host->Shutdown();
    }
    m_pExitTimer->StartOnce(kExitTimerMs);
}

void CMainDlg::OnExitTimer() {
    m_pExitTimer->Stop();
    wxBeginBusyCursor();
    if (CServerHost* host = GetHost()) host->GetEngine().RestoreConfiguration();
    platform::PostQuitMessage(0);
    wxEndBusyCursor();
    if (IsModal()) EndModal(0);
}

bool CMainDlg::OnQueryEndSession() {
    if (CServerHost* host = GetHost()) host->GetEngine().SetToIE();
    return true;
}

void CMainDlg::DestroyWindow() {
    DestroyCurrentPage();
    if (m_hMessageWnd) platform::DestroyWindow(m_hMessageWnd);
    m_hMessageWnd = {};
}

bool CMainDlg::Show(bool show) {
    if (!show && IsModal()) return wxTopLevelWindow::Show(false);
    return CAppNotifier::Show(show);
}

bool CMainDlg::Destroy() {
    DestroyWindow();
    return CAppNotifier::Destroy();
}
