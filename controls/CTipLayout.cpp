#include "controls/CTipLayout.h"

std::vector<std::string> CTipLayout::Lines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

CTipLayout::Rect CTipLayout::Place(int cursorX, int cursorY, int controlTop, int controlBottom, int textExtent,
                                   int lineCount, int lineHeight, int screenWidth) {
    const int width = textExtent + 2;
    const int height = lineCount * lineHeight + 4;
    const bool lowerHalf = cursorY > (controlTop + controlBottom) / 2;
    Rect r;
    if (lowerHalf) {
        r.bottom = controlTop;
        r.top = r.bottom - height;
    } else {
        r.top = controlBottom;
        r.bottom = r.top + height;
    }
    r.left = cursorX;
    r.right = r.left + width + 20;
    if (r.right > screenWidth - 25) {
        const int shift = screenWidth - r.right - 25;
        r.left += shift;
        r.right += shift;
    }
    return r;
}
