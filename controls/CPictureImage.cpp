#include "controls/CPictureImage.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/imagbmp.h>
#include <wx/imaggif.h>
#include <wx/imagjpeg.h>
#include <wx/imagpng.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/settings.h>

#include "controls/CPictureBounds.h"
#include "platform/Resource.h"

namespace {

// Looked for at every decode: the toolkit drops its handlers when it shuts
// down, and a program (a test) may start it again.
void AddHandlers() {
    static std::mutex lock;
    std::lock_guard guard(lock);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_GIF)) wxImage::AddHandler(new wxGIFHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_JPEG)) wxImage::AddHandler(new wxJPEGHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_BMP)) wxImage::AddHandler(new wxBMPHandler);
}

}  // namespace

wxImage CPictureImage::Decode(std::span<const std::uint8_t> bytes) {
    AddHandlers();
    wxImage image;
    if (!CPictureBounds::Acceptable(bytes)) {
        return image;
    }
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    // Bad data is an ordinary "no picture" here, not a message for the user.
    wxLogNull quiet;
    image.LoadFile(stream, wxBITMAP_TYPE_ANY);
    return image;
}

bool CPictureImage::LoadFromResource(std::string_view type, unsigned id) {
    return LoadFromResource(type, platform::ResourceNumber(id));
}

bool CPictureImage::LoadFromResource(std::string_view type, std::string_view name) {
    Free();
    const auto bytes = platform::FindResource(type, name);
    if (!bytes || bytes->empty()) {
        return false;
    }
    return LoadFromBuffer(bytes->data(), bytes->size());
}

bool CPictureImage::Load(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return LoadFromBuffer(bytes.data(), bytes.size());
}

bool CPictureImage::LoadFromBuffer(const std::uint8_t* bytes, std::size_t size) {
    Free();
    if (bytes == nullptr || size == 0) {
        return false;
    }
    mPicture = Decode({bytes, size});
    return mPicture.IsOk();
}

void CPictureImage::Free() {
    mPicture = wxImage();
}

wxSize CPictureImage::GetSize(const wxDC*) const {
    return IsEmpty() ? wxSize(0, 0) : mPicture.GetSize();
}

bool CPictureImage::Render(wxDC& dc, int x, int y) const {
    if (IsEmpty()) {
        return false;
    }
    dc.DrawBitmap(wxBitmap(mPicture), x, y, true);
    return true;
}

bool CPictureImage::Render(wxDC& dc, int x, int y, int cx, int cy) const {
    if (IsEmpty() || cx <= 0 || cy <= 0) {
        return false;
    }
    if (cx == mPicture.GetWidth() && cy == mPicture.GetHeight()) {
        return Render(dc, x, y);
    }
    dc.DrawBitmap(wxBitmap(mPicture.Scale(cx, cy, wxIMAGE_QUALITY_HIGH)), x, y, true);
    return true;
}

bool CPictureImage::Render(wxDC& dc, double scale) const {
    return Render(dc, 0, 0, scale);
}

bool CPictureImage::Render(wxDC& dc, int x, int y, double scale) const {
    if (IsEmpty()) {
        return false;
    }
    const wxSize size = GetSize();
    return Render(dc, x, y, static_cast<int>(size.x * scale), static_cast<int>(size.y * scale));
}

bool CPictureImage::DrawWithBackground(wxDC& dc) const {
    if (IsEmpty()) {
        return false;
    }
    const wxSize size = GetSize();
    wxBitmap face(size.x, size.y);
    {
        wxMemoryDC memory(face);
        memory.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        memory.Clear();
    }
    dc.DrawBitmap(face, 0, 0);
    return Render(dc, 0, 0);
}
