#pragma once
// The colours of the skinned pages.

#include <wx/colour.h>

namespace wizard {

// COLORREF 0xA14D38: red 56, green 77, blue 161.
inline wxColour PageTextColour() { return wxColour(56, 77, 161); }
inline wxColour PageBackground() { return wxColour(255, 255, 255); }

}  // namespace wizard
