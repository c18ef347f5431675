#pragma once
// Dialog units to pixels with the fixed base units of the panel's
// templates (x 1.5, y 1.625), and rows of controls placed by what their
// texts need at the toolkit's font, so that no label runs under the field
// beside it.

#include <initializer_list>
#include <utility>

#include <wx/gdicmn.h>

class wxWindow;

inline int DuX(int x) { return x * 3 / 2; }
inline int DuY(int y) { return y * 13 / 8; }
inline wxPoint DuPoint(int x, int y) { return {DuX(x), DuY(y)}; }
inline wxSize DuSize(int cx, int cy) { return {DuX(cx), DuY(cy)}; }

// Pixels between the controls of a row.
inline constexpr int kRowGap = 6;

// Labels, check boxes and radio buttons take the size their text needs; a
// choice list keeps its width and takes the height it needs; other
// controls keep their size.
void FitToText(wxWindow* control);

// The index-th of count equal parts of a strip of length pixels: its start
// and length, the parts together covering the strip exactly.
inline std::pair<int, int> StripPart(int index, int count, int length) {
    const int from = index * length / count;
    return {from, (index + 1) * length / count - from};
}

// Places the controls one after another from x, fitted (FitToText), with
// gap pixels between them, each centred on the line middleY. Returns where
// the row ends.
int PlaceRow(int x, int middleY, std::initializer_list<wxWindow*> controls, int gap = kRowGap);
