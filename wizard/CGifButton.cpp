#include "wizard/CGifButton.h"

#include <wx/dcclient.h>

namespace wizard {

CGifButton::CGifButton(wxWindow* parent, wxWindowID id, const wxPoint& pos)
    : wxControl(parent, id, pos, wxDefaultSize, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CGifButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CGifButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CGifButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CGifButton::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CGifButton::OnCaptureLost, this);
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        SizeToFace();
    });
}

// A button held down while its page goes away gives the pointer back.
CGifButton::~CGifButton() {
    if (HasCapture()) ReleaseMouse();
}

int CGifButton::SetImages(std::string_view normal, std::string_view pressed, const char* disabled) {
    mNormalName = normal;
    mPressedName = pressed;
    mDisabledName = disabled ? disabled : mNormalName;
    const auto load = [](CPictureImage& face, const std::string& name) {
        face.Release();
        if (!name.empty()) face.LoadFromResource(name, "GIF");
    };
    load(mNormal, mNormalName);
    load(mPressedFace, mPressedName);
    load(mDisabled, mDisabledName);
    SizeToFace();
    Refresh(false);
    return 0;
}

void CGifButton::Click() {
    wxCommandEvent event(wxEVT_BUTTON, GetId());
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

const CPictureImage& CGifButton::CurrentFace() const {
    if (!IsEnabled()) {
        if (!mDisabled.IsEmpty()) return mDisabled;
        mDisabledMissing = true;
        return mNormal;
    }
    return mPressed ? mPressedFace : mNormal;
}

wxSize CGifButton::DoGetBestSize() const {
    const wxSize size = mNormal.GetSize();
    return size.x > 0 ? size : wxSize(1, 1);
}

void CGifButton::SizeToFace() {
    const wxSize size = mNormal.GetSize();
    if (size.x > 0 && size.y > 0 && GetSize() != size) SetSize(size);
}

void CGifButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    CurrentFace().Render(dc);
    if (!mNormal.IsEmpty() && GetSize() != mNormal.GetSize()) CallAfter([this] { SizeToFace(); });
}

void CGifButton::OnLeftDown(wxMouseEvent&) {
    if (!IsEnabled()) return;
    mPressed = true;
    if (!HasCapture()) CaptureMouse();
    Refresh(false);
}

void CGifButton::OnLeftUp(wxMouseEvent& event) {
    if (!mPressed) return;
    mPressed = false;
    if (HasCapture()) ReleaseMouse();
    Refresh(false);
    if (wxRect(GetClientSize()).Contains(event.GetPosition())) Click();
}

void CGifButton::OnCaptureLost(wxMouseCaptureLostEvent&) {
    mPressed = false;
    Refresh(false);
}

}  // namespace wizard
