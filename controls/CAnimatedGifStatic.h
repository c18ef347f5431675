#pragma once
// A picture control that reads GIF data itself: an animated GIF is split
// into frames, each decoded once at load time, and played on a thread of
// its own into a memory surface that painting copies to the screen; any
// other picture (or a one-frame GIF) is shown still. The control takes
// the size of the last picture loaded into it.
//
// Threads: the animation thread only renders into the surface (under
// mSurfaceLock) and asks for a repaint; the GUI thread loads, paints and
// stops. Stop waits up to kStopWaitMs for the thread, and the thread is
// always joined before the surface is freed.
//
// A click sends wxEVT_BUTTON with the control's id (pages use pictures as
// buttons).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <string_view>
#include <thread>

#include <wx/control.h>

#include "controls/CGifPlayback.h"
#include "controls/ColourRef.h"

class CAnimatedGifStatic : public wxControl {
public:
    static constexpr unsigned kStopWaitMs = 5000;

    CAnimatedGifStatic() = default;
    CAnimatedGifStatic(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                       const wxSize& size = wxDefaultSize, long style = 0);
    ~CAnimatedGifStatic() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    bool Load(std::span<const std::uint8_t> bytes);
    bool Load(const std::filesystem::path& path);
    bool LoadFromResource(unsigned id, std::string_view type = "GIF");
    bool LoadFromResource(std::string_view name, std::string_view type = "GIF");

    // Starts showing: an animated GIF starts its thread; anything else is
    // rendered once into the surface.
    void Draw();
    void Stop();
    void UnLoad();

    void SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const;
    wxSize GetSize() const { return {mPictureWidth, mPictureHeight}; }
    int GetFrameCount() const;
    bool IsGIF() const { return mIsGif; }
    bool IsAnimatedGIF() const;
    bool IsPlaying() const { return mPlaying.load(); }
    bool IsLoaded() const { return mLoaded; }
    // Which part of the surface a paint shows; empty: all of it.
    void SetPaintRect(const wxRect& rect) { mPaintRect = rect; }
    wxRect GetPaintRect() const { return mPaintRect; }

    // The surface's colour at (x, y) as 0x00RRGGBB, for checks.
    std::uint32_t SurfacePixel(int x, int y) const;

protected:
    wxSize DoGetBestSize() const override;

private:
    bool LoadStill(std::span<const std::uint8_t> bytes);
    bool PrepareSurface(int width, int height);
    void ThreadMain();
    void OnPaint(wxPaintEvent& event);
    void OnDestroy(wxWindowDestroyEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    bool mIsGif = false;
    bool mLoaded = false;
    std::atomic<bool> mPlaying{false};
    std::atomic<bool> mExit{false};
    int mPictureWidth = 0;
    int mPictureHeight = 0;
    wxRect mPaintRect;
    // The still picture, 0xAARRGGBB, drawn by Draw when not animated.
    std::vector<std::uint32_t> mStill;

    mutable std::mutex mSurfaceLock;  // guards mPlayback
    CGifPlayback mPlayback;

    std::mutex mEventLock;  // guards mExitSignalled and mThreadDone
    std::condition_variable mEventCv;
    bool mExitSignalled = false;
    bool mThreadDone = false;
    std::thread mThread;
};
