#pragma once
// A button drawn from three pictures (normal, pressed, disabled) at the
// size of its window, white transparent over the button face. A click
// posts WM_BAND_BUTTON with its command id to the owner window.

#include <array>

#include <wx/bitmap.h>
#include <wx/window.h>

#include "platform/Messages.h"

class CImageListButton : public wxWindow {
public:
    CImageListButton() = default;

    bool Create(wxWindow* parent, platform::HWND owner, int command, const wxRect& rect, int controlId);
    // Rebuilds the images from the three pictures; false when one is missing.
    bool SetImages(int normal, int pressed, int disabled);

    int NormalPicture() const { return m_Pictures[0]; }
    int ControlId() const { return m_nControlId; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    platform::HWND m_Owner;
    int m_nCommand = 0;
    int m_nControlId = 0;
    std::array<int, 3> m_Pictures{};
    std::array<wxBitmap, 3> m_Images;
    bool m_bPressed = false;
};
