#include "toolbar/BandPicture.h"

#include <wx/mstream.h>

#include "platform/Resource.h"

std::optional<wxImage> LoadBandPicture(int number) {
    const auto bytes = platform::FindResource("GIF", platform::ResourceNumber(static_cast<unsigned>(number)));
    if (!bytes) return std::nullopt;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_GIF)) wxImage::AddHandler(new wxGIFHandler);
    wxMemoryInputStream stream(bytes->data(), bytes->size());
    wxImage image;
    if (!image.LoadFile(stream, wxBITMAP_TYPE_GIF) || !image.IsOk()) return std::nullopt;
    return image;
}
