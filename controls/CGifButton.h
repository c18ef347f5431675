#pragma once
// A push button drawn entirely from pictures: a normal face, a pushed
// face, a disabled face and a fourth face (loaded, never drawn). It takes
// the size of its normal face and sends wxEVT_BUTTON with its id when
// clicked.

#include <string>
#include <string_view>

#include <wx/control.h>

#include "controls/CPictureImage.h"
#include "platform/Types.h"

class CGifButton : public wxControl {
public:
    CGifButton() = default;
    CGifButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = 0);

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    // Numbered "GIF" resources. The disabled and fourth ids default to the
    // normal id when -1. Loads the normal face when its id is not 0 and
    // every other face whose id is 0 or more; S_OK, or E_FAIL at the first
    // face that fails (the rest are then not loaded).
    platform::HRESULT SetImages(int normal, int pushed = -1, int disabled = -1, int fourth = -1);
    // Named "GIF" resources ("IDR_NEXT"): an empty name loads nothing; a
    // face that fails to load stays empty. Always S_OK.
    platform::HRESULT SetImages(std::string_view normal, std::string_view pushed,
                                std::string_view disabled = {});

    // Draw the disabled face when disabled (off: the normal face).
    void SetUseDisabledImage(bool use) { mUseDisabled = use; }

    int NormalId() const { return mNormalId; }
    int PushedId() const { return mPushedId; }
    int DisabledId() const { return mDisabledId; }
    int FourthId() const { return mFourthId; }
    bool IsPushed() const { return mPushed; }
    // The face a paint draws now.
    const CPictureImage& CurrentImage() const;

protected:
    wxSize DoGetBestSize() const override;

private:
    void SizeToImage();
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    CPictureImage mNormal;
    CPictureImage mPushedImage;
    CPictureImage mFourth;
    CPictureImage mDisabled;
    int mNormalId = -1;
    int mPushedId = -1;
    int mDisabledId = -1;
    int mFourthId = -1;
    bool mUseDisabled = false;
    bool mPushed = false;
};
