#pragma once
// One still picture (GIF, PNG, JPEG or BMP) loaded from a resource, a file
// or bytes, and drawn at its own size, a given size or scaled.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

class CPictureImage {
public:
    // Resource ids are numbers ("#<id>"); names are for named resources.
    bool LoadFromResource(std::string_view type, unsigned id);
    bool LoadFromResource(std::string_view type, std::string_view name);
    bool Load(const std::filesystem::path& path);
    bool LoadFromBuffer(const std::uint8_t* bytes, std::size_t size);
    void Free();

    bool IsEmpty() const { return !mPicture.IsOk(); }
    // Pixel size; (0,0) when empty. The device is not needed here: pixels
    // are the picture's own.
    wxSize GetSize(const wxDC* dc = nullptr) const;

    // Each false when empty.
    bool Render(wxDC& dc, int x, int y) const;
    bool Render(wxDC& dc, int x, int y, int cx, int cy) const;
    bool Render(wxDC& dc, double scale) const;
    bool Render(wxDC& dc, int x, int y, double scale) const;
    // The picture over the button-face colour, at (0,0) of the device.
    bool DrawWithBackground(wxDC& dc) const;

    const wxImage& Picture() const { return mPicture; }

    // Decodes picture bytes of any supported format; not ok on failure, and
    // for data that declares a picture beyond CPictureBounds::kMaxSide.
    static wxImage Decode(std::span<const std::uint8_t> bytes);

private:
    wxImage mPicture;
};
