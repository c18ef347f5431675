#include "controls/CGifButton.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

CGifButton::CGifButton(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
    Create(parent, id, pos, size, style);
}

bool CGifButton::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE)) {
        return false;
    }
    Bind(wxEVT_PAINT, &CGifButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CGifButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CGifButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CGifButton::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CGifButton::OnCaptureLost, this);
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        SizeToImage();
        event.Skip();
    });
    return true;
}

platform::HRESULT CGifButton::SetImages(int normal, int pushed, int disabled, int fourth) {
    mNormalId = normal;
    mPushedId = pushed;
    mDisabledId = disabled == -1 ? normal : disabled;
    mFourthId = fourth == -1 ? normal : fourth;
    const auto load = [](CPictureImage& face, int id) {
        return face.LoadFromResource("GIF", static_cast<unsigned>(id));
    };
    platform::HRESULT result = platform::S_OK;
    if (mNormalId != 0 && !load(mNormal, mNormalId)) {
        result = platform::E_FAIL;
    } else if (mPushedId >= 0 && !load(mPushedImage, mPushedId)) {
        result = platform::E_FAIL;
    } else if (mFourthId >= 0 && !load(mFourth, mFourthId)) {
        result = platform::E_FAIL;
    } else if (mDisabledId >= 0 && !load(mDisabled, mDisabledId)) {
        result = platform::E_FAIL;
    }
    SizeToImage();
    Refresh(false);
    return result;
}

platform::HRESULT CGifButton::SetImages(std::string_view normal, std::string_view pushed, std::string_view disabled) {
    if (disabled.empty()) {
        disabled = normal;
    }
    const auto load = [](CPictureImage& face, std::string_view name) {
        if (name.empty()) {
            face.Free();
        } else {
            face.LoadFromResource("GIF", name);
        }
    };
    load(mNormal, normal);
    load(mPushedImage, pushed);
    load(mDisabled, disabled);
    SizeToImage();
    Refresh(false);
    return platform::S_OK;
}

const CPictureImage& CGifButton::CurrentImage() const {
    if (mPushed && !mPushedImage.IsEmpty()) {
        return mPushedImage;
    }
    if (!IsEnabled() && mUseDisabled && !mDisabled.IsEmpty()) {
        return mDisabled;
    }
    return mNormal;
}

wxSize CGifButton::DoGetBestSize() const {
    return mNormal.IsEmpty() ? wxSize(16, 16) : mNormal.GetSize();
}

void CGifButton::SizeToImage() {
    if (mNormal.IsEmpty()) {
        return;
    }
    const wxSize size = mNormal.GetSize();
    if (GetSize() != size) {
        SetSize(wxDefaultCoord, wxDefaultCoord, size.x, size.y, wxSIZE_USE_EXISTING);
    }
    InvalidateBestSize();
}

void CGifButton::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    CurrentImage().DrawWithBackground(dc);
    CallAfter([this] { SizeToImage(); });
}

void CGifButton::OnLeftDown(wxMouseEvent&) {
    if (!IsEnabled()) {
        return;
    }
    mPushed = true;
    if (!HasCapture()) {
        CaptureMouse();
    }
    Refresh(false);
}

void CGifButton::OnLeftUp(wxMouseEvent& event) {
    if (!mPushed) {
        return;
    }
    mPushed = false;
    if (HasCapture()) {
        ReleaseMouse();
    }
    Refresh(false);
    if (IsEnabled() && GetClientRect().Contains(event.GetPosition())) {
        wxCommandEvent click(wxEVT_BUTTON, GetId());
        click.SetEventObject(this);
        ProcessWindowEvent(click);
    }
}

void CGifButton::OnCaptureLost(wxMouseCaptureLostEvent&) {
    mPushed = false;
    Refresh(false);
}
