#include "controls/CGifPlayback.h"

#include <algorithm>

namespace {

std::uint32_t ToPixel(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace

void CGifPlayback::Reset(int width, int height, COLORREF background, COLORREF fill) {
    Clear();
    mWidth = std::max(0, width);
    mHeight = std::max(0, height);
    mBackground = background;
    mPixels.assign(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight), ToPixel(fill));
}

void CGifPlayback::Clear() {
    mWidth = mHeight = 0;
    mPixels.clear();
    mFrames.clear();
    mSaved.clear();
    mCurrent = 0;
    mBackground = RGB(255, 255, 255);
}

void CGifPlayback::Fill(COLORREF colour) {
    std::fill(mPixels.begin(), mPixels.end(), ToPixel(colour));
}

void CGifPlayback::AddFrame(Frame frame) {
    const auto expected = static_cast<std::size_t>(std::max(0, frame.width)) *
                          static_cast<std::size_t>(std::max(0, frame.height));
    if (frame.pixels.size() != expected) {
        frame.pixels.clear();
    }
    mFrames.push_back(std::move(frame));
}

void CGifPlayback::FillRect(int left, int top, int width, int height, COLORREF colour) {
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(mWidth, left + width), y1 = std::min(mHeight, top + height);
    for (int y = y0; y < y1; ++y) {
        std::fill_n(mPixels.begin() + static_cast<std::ptrdiff_t>(y) * mWidth + x0, std::max(0, x1 - x0),
                    ToPixel(colour));
    }
}

void CGifPlayback::Draw(int left, int top, int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(mWidth, left + width), y1 = std::min(mHeight, top + height);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y - top) * width + (x - left)];
            if (p >> 24) {
                mPixels[static_cast<std::size_t>(y) * mWidth + x] = p & 0xFFFFFF;
            }
        }
    }
}

void CGifPlayback::ShowCurrent() {
    if (mCurrent >= mFrames.size()) {
        return;
    }
    const Frame& f = mFrames[mCurrent];
    if (f.pixels.empty()) {
        return;
    }
    if (f.disposal == 3) {
        Saved saved{f.left, f.top, f.width, f.height, {}};
        saved.pixels.reserve(f.pixels.size());
        for (int y = f.top; y < f.top + f.height; ++y) {
            for (int x = f.left; x < f.left + f.width; ++x) {
                saved.pixels.push_back(PixelAt(x, y) | 0xFF000000u);
            }
        }
        mSaved.assign(1, std::move(saved));
    }
    Draw(f.left, f.top, f.width, f.height, f.pixels);
}

unsigned CGifPlayback::DelayMs() const {
    if (mCurrent >= mFrames.size()) {
        return 100;
    }
    const int delay = mFrames[mCurrent].delay;
    return delay > 4 ? static_cast<unsigned>(delay) * 10 : 100;
}

void CGifPlayback::Dispose() {
    if (mCurrent >= mFrames.size()) {
        return;
    }
    const Frame& f = mFrames[mCurrent];
    if (f.disposal == 2) {
        FillRect(f.left, f.top, f.width, f.height, mBackground);
    } else if (f.disposal == 3 && !mSaved.empty()) {
        const Saved& s = mSaved.front();
        Draw(s.left, s.top, s.width, s.height, s.pixels);
        mSaved.clear();
    }
}

void CGifPlayback::Advance() {
    if (mFrames.empty()) {
        return;
    }
    if (++mCurrent >= mFrames.size()) {
        mCurrent = 0;
        Fill(mBackground);
    }
}

std::uint32_t CGifPlayback::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) {
        return 0;
    }
    return mPixels[static_cast<std::size_t>(y) * mWidth + x];
}
