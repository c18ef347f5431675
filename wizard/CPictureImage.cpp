#include "wizard/CPictureImage.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "controls/CPictureImage.h"
#include "platform/Resource.h"

namespace wizard {

bool CPictureImage::LoadFromResource(std::string_view name, std::string_view type) {
    Release();
    const auto bytes = platform::FindResource(type, name);
    if (!bytes || bytes->empty()) return false;
    mPicture = ::CPictureImage::Decode(*bytes);
    return mPicture.IsOk();
}

wxSize CPictureImage::GetSize() const { return IsEmpty() ? wxSize(0, 0) : mPicture.GetSize(); }

bool CPictureImage::Render(wxDC& dc) const {
    if (IsEmpty()) return false;
    const wxSize size = GetSize();
    wxBitmap surface(size.x, size.y);
    {
        wxMemoryDC memory(surface);
        memory.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        memory.Clear();
        const wxBitmap picture(mPicture);
        memory.DrawBitmap(picture, (size.x - picture.GetWidth()) / 2, (size.y - picture.GetHeight()) / 2, true);
    }
    dc.DrawBitmap(surface, 0, 0, false);
    return true;
}

}  // namespace wizard
