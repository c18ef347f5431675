#include "controls/CAnimatedGifStatic.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <vector>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "controls/CGifScanner.h"
#include "controls/CPictureBounds.h"
#include "controls/CPictureImage.h"
#include "platform/Resource.h"

namespace {

COLORREF FromWx(const wxColour& c) {
    return RGB(c.Red(), c.Green(), c.Blue());
}

// The picture as 0xAARRGGBB pixels of the given size (scaled when its own
// size differs); transparent where its mask or alpha says so.
std::vector<std::uint32_t> PixelsOf(wxImage image, int width, int height) {
    std::vector<std::uint32_t> pixels;
    if (!image.IsOk() || width <= 0 || height <= 0) {
        return pixels;
    }
    if (image.GetWidth() != width || image.GetHeight() != height) {
        image.Rescale(width, height);
    }
    const unsigned char* rgb = image.GetData();
    const unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
    const bool masked = image.HasMask();
    const unsigned char mr = image.GetMaskRed(), mg = image.GetMaskGreen(), mb = image.GetMaskBlue();
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
        bool opaque = alpha ? alpha[i] >= 128 : true;
        if (masked && r == mr && g == mg && b == mb) {
            opaque = false;
        }
        pixels[i] = (opaque ? 0xFF000000u : 0u) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
    }
    return pixels;
}

}  // namespace

CAnimatedGifStatic::CAnimatedGifStatic(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                       long style) {
    Create(parent, id, pos, size, style);
}

CAnimatedGifStatic::~CAnimatedGifStatic() {
    UnLoad();
}

bool CAnimatedGifStatic::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                long style) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE)) {
        return false;
    }
    Bind(wxEVT_PAINT, &CAnimatedGifStatic::OnPaint, this);
    Bind(wxEVT_DESTROY, &CAnimatedGifStatic::OnDestroy, this);
    Bind(wxEVT_LEFT_UP, &CAnimatedGifStatic::OnLeftUp, this);
    return true;
}

bool CAnimatedGifStatic::Load(std::span<const std::uint8_t> bytes) {
    UnLoad();
    // The surface is made at the declared screen size: too large, nothing
    // is made.
    if (!CPictureBounds::Acceptable(bytes)) {
        return false;
    }
    if (!CGifScanner::IsGif(bytes)) {
        return LoadStill(bytes);
    }
    mIsGif = true;
    const auto layout = CGifScanner::Scan(bytes);
    if (!layout || layout->frames.empty()) {
        mIsGif = false;
        return false;
    }
    mPictureWidth = layout->width;
    mPictureHeight = layout->height;
    if (layout->frames.size() == 1) {
        return LoadStill(bytes);
    }
    std::vector<CGifPlayback::Frame> frames;
    for (const auto& f : layout->frames) {
        const auto gif = CGifScanner::FrameGif(bytes, *layout, f);
        auto pixels = PixelsOf(CPictureImage::Decode(gif), f.width, f.height);
        if (pixels.empty()) {
            continue;
        }
        frames.push_back({f.left, f.top, f.width, f.height, f.delay, f.disposal, std::move(pixels)});
    }
    if (frames.empty() || !PrepareSurface(layout->width, layout->height)) {
        UnLoad();
        return false;
    }
    std::lock_guard lock(mSurfaceLock);
    for (auto& frame : frames) {
        mPlayback.AddFrame(std::move(frame));
    }
    return true;
}

bool CAnimatedGifStatic::LoadStill(std::span<const std::uint8_t> bytes) {
    const wxImage image = CPictureImage::Decode(bytes);
    if (!image.IsOk()) {
        UnLoad();
        return false;
    }
    mPictureWidth = image.GetWidth();
    mPictureHeight = image.GetHeight();
    mStill = PixelsOf(image, mPictureWidth, mPictureHeight);
    return PrepareSurface(mPictureWidth, mPictureHeight);
}

bool CAnimatedGifStatic::Load(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return Load(bytes);
}

bool CAnimatedGifStatic::LoadFromResource(unsigned id, std::string_view type) {
    return LoadFromResource(platform::ResourceNumber(id), type);
}

bool CAnimatedGifStatic::LoadFromResource(std::string_view name, std::string_view type) {
    const auto bytes = platform::FindResource(type, name);
    if (!bytes || bytes->empty()) {
        UnLoad();
        return false;
    }
    // The control keeps its own copy of nothing but decoded frames.
    return Load(*bytes);
}

bool CAnimatedGifStatic::PrepareSurface(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    SetSize(wxDefaultCoord, wxDefaultCoord, width, height, wxSIZE_USE_EXISTING);
    InvalidateBestSize();
    std::lock_guard lock(mSurfaceLock);
    mPlayback.Reset(width, height, FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)),
                    FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU)));
    mLoaded = true;
    return true;
}

void CAnimatedGifStatic::Draw() {
    if (!mLoaded) {
        return;
    }
    if (IsAnimatedGIF()) {
        if (mThread.joinable()) {
            return;
        }
        {
            std::lock_guard lock(mEventLock);
            mThreadDone = false;
        }
        mPlaying = true;
        mThread = std::thread(&CAnimatedGifStatic::ThreadMain, this);
        return;
    }
    {
        std::lock_guard lock(mSurfaceLock);
        mPlayback.Draw(0, 0, mPictureWidth, mPictureHeight, mStill);
    }
    Refresh(false);
}

void CAnimatedGifStatic::ThreadMain() {
    mPlaying = true;
    {
        std::lock_guard lock(mSurfaceLock);
        mPlayback.Dispose();
    }
    while (!mExit) {
        unsigned delay;
        {
            std::lock_guard lock(mSurfaceLock);
            mPlayback.ShowCurrent();
            delay = mPlayback.DelayMs();
        }
        CallAfter([this] { Refresh(false); });
        {
            std::unique_lock lock(mEventLock);
            mEventCv.wait_for(lock, std::chrono::milliseconds(delay), [this] { return mExitSignalled; });
        }
        if (mExit) {
            break;
        }
        std::lock_guard lock(mSurfaceLock);
        mPlayback.Dispose();
        mPlayback.Advance();
    }
    mPlaying = false;
    std::lock_guard lock(mEventLock);
    mThreadDone = true;
    mEventCv.notify_all();
}

void CAnimatedGifStatic::Stop() {
    mPlaying = false;
    mExit = true;
    {
        std::unique_lock lock(mEventLock);
        mExitSignalled = true;
        mEventCv.notify_all();
        if (mThread.joinable()) {
            mEventCv.wait_for(lock, std::chrono::milliseconds(kStopWaitMs), [this] { return mThreadDone; });
        }
    }
    // Joined even past the wait: the thread draws into the surface.
    if (mThread.joinable()) {
        mThread.join();
    }
    std::lock_guard lock(mEventLock);
    mExitSignalled = false;
    mExit = false;
}

void CAnimatedGifStatic::UnLoad() {
    Stop();
    {
        std::lock_guard lock(mSurfaceLock);
        mPlayback.Clear();
    }
    mStill.clear();
    mIsGif = false;
    mLoaded = false;
    mPictureWidth = mPictureHeight = 0;
    mPaintRect = wxRect();
}

void CAnimatedGifStatic::SetBkColor(COLORREF colour) {
    if (!mLoaded) {
        return;
    }
    std::lock_guard lock(mSurfaceLock);
    mPlayback.SetBackground(colour);
    mPlayback.Fill(colour);
}

COLORREF CAnimatedGifStatic::GetBkColor() const {
    std::lock_guard lock(mSurfaceLock);
    return mPlayback.Background();
}

int CAnimatedGifStatic::GetFrameCount() const {
    if (!mIsGif) {
        return 0;
    }
    std::lock_guard lock(mSurfaceLock);
    return static_cast<int>(mPlayback.FrameCount());
}

bool CAnimatedGifStatic::IsAnimatedGIF() const {
    return GetFrameCount() > 1;
}

std::uint32_t CAnimatedGifStatic::SurfacePixel(int x, int y) const {
    std::lock_guard lock(mSurfaceLock);
    return mPlayback.PixelAt(x, y);
}

wxSize CAnimatedGifStatic::DoGetBestSize() const {
    return mLoaded ? wxSize(mPictureWidth, mPictureHeight) : wxSize(16, 16);
}

void CAnimatedGifStatic::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxImage shown;
    {
        std::lock_guard lock(mSurfaceLock);
        const int w = mPlayback.Width(), h = mPlayback.Height();
        if (w <= 0 || h <= 0) {
            return;
        }
        wxRect part(0, 0, w, h);
        if (!mPaintRect.IsEmpty()) {
            part = mPaintRect.Intersect(wxRect(0, 0, w, h));
            if (part.IsEmpty()) {
                return;
            }
        }
        shown.Create(part.width, part.height, false);
        unsigned char* out = shown.GetData();
        for (int y = 0; y < part.height; ++y) {
            for (int x = 0; x < part.width; ++x) {
                const std::uint32_t p = mPlayback.PixelAt(part.x + x, part.y + y);
                *out++ = static_cast<unsigned char>(p >> 16);
                *out++ = static_cast<unsigned char>(p >> 8);
                *out++ = static_cast<unsigned char>(p);
            }
        }
    }
    dc.DrawBitmap(wxBitmap(shown), 0, 0);
}

void CAnimatedGifStatic::OnDestroy(wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == this) {
        Stop();
    }
    event.Skip();
}

void CAnimatedGifStatic::OnLeftUp(wxMouseEvent& event) {
    event.Skip();
    if (!GetClientRect().Contains(event.GetPosition())) {
        return;
    }
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
}
