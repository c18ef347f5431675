#pragma once
// The wizard's picture holder: one still picture from a named resource,
// drawn over the button-face colour at the device's origin.

#include <string_view>

#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

namespace wizard {

class CPictureImage {
public:
    // Any earlier picture is released first; false when the resource is
    // missing or cannot be decoded.
    bool LoadFromResource(std::string_view name, std::string_view type);
    void Release() { mPicture = wxImage(); }

    bool IsEmpty() const { return !mPicture.IsOk(); }
    // The picture's size in pixels; (0,0) when empty.
    wxSize GetSize() const;
    // A bitmap of the picture's size filled with the button-face colour,
    // the picture centred on it, copied to (0,0). False when empty.
    bool Render(wxDC& dc) const;
    const wxImage& Picture() const { return mPicture; }

private:
    wxImage mPicture;
};

}  // namespace wizard
