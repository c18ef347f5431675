#pragma once
// Where a custom tooltip goes and how its text breaks into lines, apart
// from any window: above the control when the cursor is in its lower
// half, below it otherwise, starting at the cursor and kept 25 pixels
// inside the screen's right edge.

#include <string>
#include <string_view>
#include <vector>

class CTipLayout {
public:
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
    };

    // The text without "\r", split at "\n" (one line when there is none).
    static std::vector<std::string> Lines(std::string_view text);

    // textExtent is the widest line's width; the tip is that + 2 + 20 wide
    // and lineCount x lineHeight + 4 high.
    static Rect Place(int cursorX, int cursorY, int controlTop, int controlBottom, int textExtent,
                      int lineCount, int lineHeight, int screenWidth);
};
