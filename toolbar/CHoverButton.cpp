#include "toolbar/CHoverButton.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include "toolbar/BandMessages.h"
#include "toolbar/BandPicture.h"

namespace {

wxBitmap WithButtonFace(const wxImage& image) {
    wxImage copy = image.Copy();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    copy.Replace(255, 255, 255, face.Red(), face.Green(), face.Blue());
    return wxBitmap(copy);
}

}  // namespace

bool CHoverButton::Create(wxWindow* parent, platform::HWND owner, int command, int left, int top, int right,
                          int bottom, int controlId, int normal, int hover, int pressed, int disabled, bool sticky) {
    m_Owner = owner;
    m_nCommand = command;
    m_bSticky = sticky;
    m_nControlId = controlId;
    m_Pictures = {normal, hover, pressed, disabled};
    for (std::size_t i = 0; i < m_Pictures.size(); ++i) {
        auto image = LoadBandPicture(m_Pictures[i]);
        if (!image) return false;
        m_Images[i] = *image;
    }
    if (!wxWindow::Create(parent, wxID_ANY, wxPoint(left, top), wxSize(right - left, bottom - top),
                          wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE)) {
        return false;
    }
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SysColorChange();
    Bind(wxEVT_PAINT, &CHoverButton::OnPaint, this);
    Bind(wxEVT_ENTER_WINDOW, &CHoverButton::OnEnter, this);
    Bind(wxEVT_LEAVE_WINDOW, &CHoverButton::OnLeave, this);
    Bind(wxEVT_LEFT_DOWN, &CHoverButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CHoverButton::OnLeftUp, this);
    return true;
}

void CHoverButton::SysColorChange() {
    for (std::size_t i = 0; i < m_Images.size(); ++i) m_Bitmaps[i] = WithButtonFace(m_Images[i]);
    Refresh();
}

void CHoverButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    Look look = kNormal;
    if (!IsEnabled()) {
        look = kDisabled;
    } else if (m_bPressed) {
        look = kPressed;
        if (!m_bSticky) m_bPressed = false;
    } else if (m_bHover) {
        look = kHover;
    }
    dc.DrawBitmap(m_Bitmaps[look], 0, 0, false);
    m_nPainted = m_Pictures[look];
}

void CHoverButton::OnEnter(wxMouseEvent& event) {
    m_bHover = true;
    Refresh();
    event.Skip();
}

void CHoverButton::OnLeave(wxMouseEvent& event) {
    m_bHover = false;
    m_bPressed = false;
    Refresh();
    event.Skip();
}

void CHoverButton::OnLeftDown(wxMouseEvent& event) {
    m_bPressed = true;
    Refresh();
    event.Skip();
}

void CHoverButton::OnLeftUp(wxMouseEvent& event) {
    m_bPressed = false;
    Refresh();
    platform::PostMessage(m_Owner, WM_BAND_BUTTON, static_cast<platform::WPARAM>(m_nCommand), 0);
    if (wxWindow* parent = GetParent()) {
        wxCommandEvent command(wxEVT_BUTTON, m_nControlId);
        command.SetEventObject(this);
        wxPostEvent(parent, command);
    }
    event.Skip();
}
