#pragma once
// Page sizes and the window region that cuts a page's template margins away.

namespace wizard {

struct SPageTraits;

struct SPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SPoint&, const SPoint&) = default;
};

struct SRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const SRect&, const SRect&) = default;
};

// Dialog units in pixels, with the fixed base units of the templates.
int DluToPixelsX(int dlu);
int DluToPixelsY(int dlu);

// Every page's template: 434 x 274 dialog units.
SPoint PageSizePixels();

// From (14, 14) to (width - right inset, height - bottom inset) of the
// client rectangle; empty (never inverted) when the client is too small.
SRect PageRegion(int clientWidth, int clientHeight, const SPageTraits& traits);

}  // namespace wizard
