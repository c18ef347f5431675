#pragma once
// The wizard's picture push button: a normal, a pressed and a disabled face
// from named "GIF" resources. It shows the pressed face while held down
// (there is no hover face), takes the normal face's size, and sends
// wxEVT_BUTTON with its id when clicked.

#include <string>
#include <string_view>

#include <wx/control.h>

#include "wizard/CPictureImage.h"

namespace wizard {

class CGifButton : public wxControl {
public:
    CGifButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition);
    ~CGifButton() override;

    // Stores the names (no disabled name: the normal one) and loads each
    // face that has a name; a face that fails stays empty. Then takes the
    // normal face's size. Returns 0.
    int SetImages(std::string_view normal, std::string_view pressed, const char* disabled = nullptr);

    // What a click does: wxEVT_BUTTON with the button's id to its parent.
    void Click();

    const std::string& NormalName() const { return mNormalName; }
    const std::string& PressedName() const { return mPressedName; }
    const std::string& DisabledName() const { return mDisabledName; }
    bool IsPressed() const { return mPressed; }
    // The face a paint draws now.
    const CPictureImage& CurrentFace() const;
    // A disabled face was asked for while none was set.
    bool DisabledFaceMissing() const { return mDisabledMissing; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void SizeToFace();
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    CPictureImage mNormal;
    CPictureImage mPressedFace;
    CPictureImage mDisabled;
    std::string mNormalName;
    std::string mPressedName;
    std::string mDisabledName;
    mutable bool mDisabledMissing = false;
    bool mPressed = false;
};

}  // namespace wizard
