#pragma once
// Draws text into a rectangle the way a static control does for a set of
// DT_* flags (CStaticTextFlags): alignment, a vertically centred single
// line, word breaks, ellipses and "&" prefixes.

#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include "platform/Types.h"

class CTextPainter {
public:
    static void Draw(wxDC& dc, const wxString& text, const wxRect& rect, platform::DWORD flags);
    // Lines of text broken at spaces so that each fits width (a word wider
    // than the width stays whole on its line).
    static wxArrayString Wrap(wxDC& dc, const wxString& text, int width);
};
