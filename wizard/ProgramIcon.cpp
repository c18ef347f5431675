#include "wizard/ProgramIcon.h"

#include <wx/bitmap.h>

#include "platform/Resource.h"
#include "wizard/CPictureImage.h"
#include "wizard/DialogIds.h"

namespace wizard {

wxIcon ProgramIcon() {
    CPictureImage picture;
    wxIcon icon;
    if (picture.LoadFromResource(platform::ResourceNumber(kProgramIcon), "ICON")) {
        icon.CopyFromBitmap(wxBitmap(picture.Picture()));
    }
    return icon;
}

}  // namespace wizard
