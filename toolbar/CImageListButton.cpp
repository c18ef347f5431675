#include "toolbar/CImageListButton.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include "toolbar/BandMessages.h"
#include "toolbar/BandPicture.h"
#include "toolbar/ToolBarIds.h"

bool CImageListButton::Create(wxWindow* parent, platform::HWND owner, int command, const wxRect& rect,
                              int controlId) {
    m_Owner = owner;
    m_nCommand = command;
    m_nControlId = controlId;
    if (!wxWindow::Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE)) return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (command == toolbar_ids::kCmdLogo) SetCursor(wxCursor(wxCURSOR_HAND));
    Bind(wxEVT_PAINT, &CImageListButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CImageListButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CImageListButton::OnLeftUp, this);
    // Double clicks do nothing.
    Bind(wxEVT_LEFT_DCLICK, [](wxMouseEvent&) {});
    return true;
}

bool CImageListButton::SetImages(int normal, int pressed, int disabled) {
    const std::array<int, 3> pictures{normal, pressed, disabled};
    std::array<wxBitmap, 3> images;
    const wxSize size = GetClientSize();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        auto image = LoadBandPicture(pictures[i]);
        if (!image) return false;
        // Cut or widened at the top left; white is transparent.
        image->Resize(size, wxPoint(0, 0), 255, 255, 255);
        image->SetMaskColour(255, 255, 255);
        images[i] = wxBitmap(*image);
    }
    m_Pictures = pictures;
    m_Images = images;
    Refresh();
    return true;
}

void CImageListButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    const wxBitmap& image = m_Images[m_bPressed ? 1 : 0];
    if (image.IsOk()) dc.DrawBitmap(image, 0, 0, true);
}

void CImageListButton::OnLeftDown(wxMouseEvent& event) {
    m_bPressed = true;
    Refresh();
    event.Skip();
}

void CImageListButton::OnLeftUp(wxMouseEvent& event) {
    m_bPressed = false;
    Refresh();
    platform::PostMessage(m_Owner, WM_BAND_BUTTON, static_cast<platform::WPARAM>(m_nCommand), 0);
    event.Skip();
}
