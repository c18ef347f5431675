#pragma once
// The fixed lines that the welcome and finish text panels paint.

#include <span>

#include <wx/dc.h>

namespace wizard {

struct STextLine {
    int x;  // pixels within the panel
    int y;
    const char* text;
};

// Arial, 15 pixels high, 7 wide, weight 100, in the pages' text colour;
// each line at its offset. With a background the text cells are filled.
void PaintTextLines(wxDC& dc, std::span<const STextLine> lines, const wxColour* background);

}  // namespace wizard
