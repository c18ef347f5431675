#pragma once
// A rectangle in pixels, with the few operations the on-screen check needs.

#include <algorithm>
#include <string>

namespace kvtest {

struct SScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool Contains(const SScreenRect& other) const {
        return other.x >= x && other.y >= y && other.Right() <= Right() && other.Bottom() <= Bottom();
    }
    SScreenRect Intersect(const SScreenRect& other) const {
        const int left = std::max(x, other.x);
        const int top = std::max(y, other.y);
        const int right = std::min(Right(), other.Right());
        const int bottom = std::min(Bottom(), other.Bottom());
        return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
    }
    bool Overlaps(const SScreenRect& other) const { return !Intersect(other).Empty(); }
    SScreenRect MovedBy(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
    // "x,y WxH"
    std::string ToString() const {
        return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" +
               std::to_string(height);
    }
};

}  // namespace kvtest
