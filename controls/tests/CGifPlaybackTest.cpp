#include <gtest/gtest.h>

#include "support/TempRoot.h"

#include "controls/CGifPlayback.h"

namespace {

constexpr COLORREF kBack = RGB(0, 0, 255);
constexpr std::uint32_t kBackPixel = 0x0000FF;
constexpr std::uint32_t kFill = 0x808080;

CGifPlayback::Frame Solid(int left, int top, int w, int h, std::uint32_t rgb, int disposal, int delay = 10) {
    return {left, top, w, h, delay, disposal,
            std::vector<std::uint32_t>(static_cast<std::size_t>(w * h), 0xFF000000u | rgb)};
}

class CGifPlaybackTest : public kvtest::RootedTest {
protected:
    CGifPlaybackTest() { playback.Reset(4, 4, kBack, RGB(0x80, 0x80, 0x80)); }
    CGifPlayback playback;
};

TEST_F(CGifPlaybackTest, DelaysBelowFiveHundredthsPlayAtOneHundredMs) {
    const struct {
        int delay;
        unsigned ms;
    } cases[] = {{0, 100}, {1, 100}, {4, 100}, {5, 50}, {10, 100}, {25, 250}};
    for (const auto& c : cases) {
        CGifPlayback p;
        p.Reset(1, 1, kBack, kBack);
        p.AddFrame(Solid(0, 0, 1, 1, 0xFF0000, 0, c.delay));
        EXPECT_EQ(c.ms, p.DelayMs()) << c.delay;
    }
}

TEST_F(CGifPlaybackTest, DisposalTwoClearsTheFrameToBackground) {
    playback.AddFrame(Solid(1, 1, 2, 2, 0xFF0000, 2));
    playback.AddFrame(Solid(0, 0, 1, 1, 0x00FF00, 0));
    playback.ShowCurrent();
    EXPECT_EQ(0xFF0000u, playback.PixelAt(1, 1));
    playback.Dispose();
    EXPECT_EQ(kBackPixel, playback.PixelAt(1, 1));
    EXPECT_EQ(kBackPixel, playback.PixelAt(2, 2));
    EXPECT_EQ(kFill, playback.PixelAt(0, 0)) << "outside the frame stays";
}

TEST_F(CGifPlaybackTest, DisposalThreeRestoresTheAreaUnderTheFrame) {
    playback.AddFrame(Solid(0, 0, 4, 4, 0x00FF00, 1));
    playback.AddFrame(Solid(1, 1, 2, 2, 0xFF0000, 3));
    playback.ShowCurrent();
    playback.Dispose();
    playback.Advance();
    playback.ShowCurrent();
    EXPECT_EQ(0xFF0000u, playback.PixelAt(1, 1));
    playback.Dispose();
    EXPECT_EQ(0x00FF00u, playback.PixelAt(1, 1));
    EXPECT_EQ(0x00FF00u, playback.PixelAt(2, 2));
}

TEST_F(CGifPlaybackTest, DisposalThreeBeforeAnyFrameDoesNothing) {
    playback.AddFrame(Solid(0, 0, 2, 2, 0xFF0000, 3));
    playback.Dispose();
    EXPECT_EQ(kFill, playback.PixelAt(0, 0));
}

TEST_F(CGifPlaybackTest, LoopClearsToBackgroundBeforeTheFirstFrameAgain) {
    playback.AddFrame(Solid(0, 0, 1, 1, 0xFF0000, 1));
    playback.AddFrame(Solid(3, 3, 1, 1, 0x00FF00, 1));
    playback.ShowCurrent();
    playback.Advance();
    playback.ShowCurrent();
    EXPECT_EQ(0xFF0000u, playback.PixelAt(0, 0));
    EXPECT_EQ(1u, playback.CurrentFrame());
    playback.Advance();
    EXPECT_EQ(0u, playback.CurrentFrame());
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(kBackPixel, playback.PixelAt(x, y));
        }
    }
}

TEST_F(CGifPlaybackTest, FramesAreClippedAndTransparentPixelsKeepTheSurface) {
    auto frame = Solid(3, 3, 3, 3, 0xFF0000, 0);
    frame.pixels[0] = 0x00FFFFFF;  // transparent at (3,3)
    playback.AddFrame(frame);
    playback.ShowCurrent();
    EXPECT_EQ(kFill, playback.PixelAt(3, 3));
    EXPECT_EQ(0u, playback.PixelAt(4, 4)) << "outside the surface reads as nothing";
    CGifPlayback::Frame wrong{0, 0, 2, 2, 0, 0, {0xFFFF0000u}};
    playback.AddFrame(wrong);
    playback.Advance();
    playback.ShowCurrent();
    EXPECT_EQ(kFill, playback.PixelAt(0, 0)) << "a frame whose pixels do not match its size draws nothing";
}

}  // namespace
