#pragma once
// The drawing surface of an animated GIF control and the steps of its
// animation, apart from any window: frames are rendered into an RGB
// surface in memory, disposed of by their disposal method, and the loop
// returns to the first frame over a surface cleared to the background.
// Not locked: its owner serialises the animation thread and painting.

#include <cstdint>
#include <vector>

#include "controls/ColourRef.h"

class CGifPlayback {
public:
    struct Frame {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        int delay = 0;     // hundredths of a second
        int disposal = 0;
        // width x height pixels, each 0xAARRGGBB; empty when the frame
        // has no picture. Alpha 0 leaves the surface as it is.
        std::vector<std::uint32_t> pixels;
    };

    // Makes a surface of that size filled with fill; background is the
    // colour that disposal 2 and the loop restart clear to.
    void Reset(int width, int height, COLORREF background, COLORREF fill);
    void Clear();

    void SetBackground(COLORREF colour) { mBackground = colour; }
    COLORREF Background() const { return mBackground; }
    void Fill(COLORREF colour);

    void AddFrame(Frame frame);
    std::size_t FrameCount() const { return mFrames.size(); }
    std::size_t CurrentFrame() const { return mCurrent; }

    // Renders the current frame (saving the area under it first when its
    // disposal is 3).
    void ShowCurrent();
    // How long the current frame stays: delay x 10 ms above 4, else 100 ms.
    unsigned DelayMs() const;
    // Applies the current frame's disposal: 2 clears its rectangle to the
    // background, 3 puts back the area saved by ShowCurrent (nothing when
    // none was saved), others leave the surface.
    void Dispose();
    // Moves to the next frame; after the last, back to the first over a
    // surface cleared to the background.
    void Advance();

    // Draws a still picture (0xAARRGGBB pixels) at (left, top).
    void Draw(int left, int top, int width, int height, const std::vector<std::uint32_t>& pixels);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // The surface, width x height pixels of 0x00RRGGBB.
    const std::vector<std::uint32_t>& Pixels() const { return mPixels; }
    std::uint32_t PixelAt(int x, int y) const;

private:
    struct Saved {
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<std::uint32_t> pixels;
    };
    void FillRect(int left, int top, int width, int height, COLORREF colour);

    int mWidth = 0;
    int mHeight = 0;
    COLORREF mBackground = RGB(255, 255, 255);
    std::vector<std::uint32_t> mPixels;
    std::vector<Frame> mFrames;
    std::size_t mCurrent = 0;
    std::vector<Saved> mSaved;  // at most one: the area under a disposal-3 frame
};
