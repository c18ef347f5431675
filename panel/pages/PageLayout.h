#pragma once
// Dialog units to pixels with the fixed base units of the panel's
// templates (x 1.5, y 1.625).

#include <wx/gdicmn.h>

inline int DuX(int x) { return x * 3 / 2; }
inline int DuY(int y) { return y * 13 / 8; }
inline wxPoint DuPoint(int x, int y) { return {DuX(x), DuY(y)}; }
inline wxSize DuSize(int cx, int cy) { return {DuX(cx), DuY(cy)}; }
