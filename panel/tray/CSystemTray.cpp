#include "panel/tray/CSystemTray.h"

#include "controls/CPictureImage.h"

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/icon.h>
#include <wx/menu.h>
#include <wx/notifmsg.h>
#include <wx/taskbar.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>

namespace {

wxIcon MakeIcon(platform::UINT picture) { return CSystemTray::IconOf(picture); }

void PresentBalloon(const TrayBalloon& balloon, wxWindow* owner) {
    wxNotificationMessage message(wxString::FromUTF8(balloon.title), wxString::FromUTF8(balloon.text), owner,
                                  wxICON_INFORMATION);
    // The toolkit counts whole seconds.
    message.Show(static_cast<int>((balloon.timeout + 999) / 1000));
}

}  // namespace

// The toolkit's icon. The toolkit asks for the menu each time the user
// opens it, so the menu always shows the current form.
class CTrayIconWidget : public wxTaskBarIcon {
public:
    CTrayIconWidget(CSystemTray& tray, wxWindow* owner) : m_Tray(tray), m_pOwner(owner) {
        Bind(wxEVT_TASKBAR_LEFT_DCLICK, [this](wxTaskBarIconEvent&) {
            m_Tray.OnTrayNotification(m_Tray.m_Model.IconId(), CTrayModel::WM_LBUTTONDBLCLK);
        });
        Bind(wxEVT_MENU,
             [this](wxCommandEvent& event) { m_Tray.PostMenuCommand(CSystemTray::CommandOfMenuItem(event.GetId())); });
    }

    wxWindow* Owner() const { return m_pOwner.get(); }

protected:
    wxMenu* CreatePopupMenu() override {
        eTrayAction action = eTrayAction::None;
        m_Tray.m_Model.OnNotification(m_Tray.m_Model.IconId(), CTrayModel::WM_RBUTTONUP, action);
        return action == eTrayAction::ShowMenu ? m_Tray.BuildMenu().release() : nullptr;
    }

private:
    CSystemTray& m_Tray;
    wxWeakRef<wxWindow> m_pOwner;
};

CSystemTray::CSystemTray() = default;

CSystemTray::~CSystemTray() { RemoveIcon(); }

bool CSystemTray::Create(wxWindow* owner, platform::UINT callbackMessage, std::string_view tip,
                         platform::UINT icon, platform::UINT menuId) {
    RemoveIcon();
    m_Model.Create(callbackMessage, tip, menuId, icon);
    m_pIcon = std::make_unique<CTrayIconWidget>(*this, owner);
    AddIcon();
    return IsEnabled();
}

void CSystemTray::AddIcon() {
    if (!m_pIcon) return;
    m_Model.SetEnabled(m_pIcon->SetIcon(wxBitmapBundle(MakeIcon(m_Model.IconPicture())),
                                        wxString::FromUTF8(m_Model.Tip())));
}

void CSystemTray::SetRunning() {
    if (IsEnabled()) m_pIcon->RemoveIcon();
    m_Model.SetRunning();
    AddIcon();
}

void CSystemTray::SetStopped() {
    if (IsEnabled()) m_pIcon->RemoveIcon();
    m_Model.SetStopped();
    AddIcon();
}

bool CSystemTray::ShowBalloon(std::string_view title, std::string_view text, platform::DWORD timeout) {
    if (!IsEnabled()) return false;
    const TrayBalloon balloon = m_Model.MakeBalloon(title, text, timeout);
    if (m_Presenter) m_Presenter(balloon);
    else PresentBalloon(balloon, GetOwner());
    return true;
}

void CSystemTray::RemoveIcon() {
    if (!m_pIcon) return;
    if (IsEnabled()) m_pIcon->RemoveIcon();
    m_Model.SetEnabled(false);
    m_pIcon.reset();
}

platform::LRESULT CSystemTray::OnTrayNotification(platform::WPARAM wParam, platform::LPARAM lParam) {
    eTrayAction action = eTrayAction::None;
    const platform::LRESULT handled = m_Model.OnNotification(wParam, lParam, action);
    if (action == eTrayAction::ShowMenu && m_pIcon) {
        std::unique_ptr<wxMenu> menu = BuildMenu();
        m_pIcon->PopupMenu(menu.get());
    } else if (action == eTrayAction::RestoreWindow) {
        RestoreOwner();
    }
    return handled;
}

wxIcon CSystemTray::IconOf(platform::UINT picture) {
    CPictureImage image;
    wxIcon icon;
    if (image.LoadFromResource("GIF", picture)) icon.CopyFromBitmap(wxBitmap(image.Picture()));
    return icon;
}

wxWindow* CSystemTray::GetOwner() const { return m_pIcon ? m_pIcon->Owner() : nullptr; }

std::unique_ptr<wxMenu> CSystemTray::BuildMenu() const {
    auto menu = std::make_unique<wxMenu>();
    for (const TrayMenuItem& item : m_Model.CurrentMenu()) {
        if (item.command == 0) menu->AppendSeparator();
        else menu->Append(item.command - kMenuIdOffset, wxString::FromUTF8(item.text));
    }
    return menu;
}

void CSystemTray::RestoreOwner() {
    wxWindow* owner = GetOwner();
    if (owner == nullptr) return;
    if (auto* top = dynamic_cast<wxTopLevelWindow*>(owner)) top->Iconize(false);
    owner->Show(true);
    owner->Raise();
}

void CSystemTray::PostMenuCommand(int command) {
    // Queued, as a menu's command arrives after the menu has closed; the
    // application gets the commands its owner does not handle.
    wxEvtHandler* target = GetOwner() ? GetOwner()->GetEventHandler() : wxTheApp;
    if (target != nullptr) wxQueueEvent(target, new wxCommandEvent(wxEVT_MENU, command));
}
