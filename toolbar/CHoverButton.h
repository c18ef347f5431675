#pragma once
// An owner-painted button with four pictures (normal, hover, pressed,
// disabled) that follows the mouse. A click posts WM_BAND_BUTTON with its
// command id to the owner window and tells its parent (wxEVT_BUTTON with
// its control id). White pixels of the pictures take the button-face
// colour.

#include <array>

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/window.h>

#include "platform/Messages.h"

class CHoverButton : public wxWindow {
public:
    CHoverButton() = default;

    // Pictures by number; false when one is missing or the window fails.
    bool Create(wxWindow* parent, platform::HWND owner, int command, int left, int top, int right, int bottom,
                int controlId, int normal, int hover, int pressed, int disabled, bool sticky = false);
    // Paints the pictures' white pixels in the current button-face colour.
    void SysColorChange();

    // The control id (beyond the toolkit's window id range, so kept here).
    int ControlId() const { return m_nControlId; }
    // The picture number the last paint drew (0 before the first paint).
    int PaintedPicture() const { return m_nPainted; }
    bool IsHovered() const { return m_bHover; }

private:
    enum Look { kNormal, kHover, kPressed, kDisabled };

    void OnPaint(wxPaintEvent& event);
    void OnEnter(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    platform::HWND m_Owner;
    int m_nCommand = 0;
    int m_nControlId = 0;
    std::array<int, 4> m_Pictures{};
    std::array<wxImage, 4> m_Images;
    std::array<wxBitmap, 4> m_Bitmaps;
    bool m_bHover = false;
    bool m_bPressed = false;
    bool m_bSticky = false;
    int m_nPainted = 0;
};
