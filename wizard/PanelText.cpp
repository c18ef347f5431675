#include "wizard/PanelText.h"

#include <wx/font.h>

#include "wizard/PageColours.h"

namespace wizard {

void PaintTextLines(wxDC& dc, std::span<const STextLine> lines, const wxColour* background) {
    dc.SetFont(wxFont(wxFontInfo(wxSize(7, 15)).FaceName("Arial").Weight(100)));
    dc.SetTextForeground(PageTextColour());
    if (background) {
        dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
        dc.SetTextBackground(*background);
    }
    for (const STextLine& line : lines) dc.DrawText(wxString::FromUTF8(line.text), line.x, line.y);
}

}  // namespace wizard
