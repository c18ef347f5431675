#pragma once
// A group frame with rounded corners and its caption set into the top
// edge. The frame is silver while mixed chains are allowed and light blue
// (0xFAEC9B) when they are not, as told by the mixed-chain source the
// application installs (SetMixChainSource).

#include <functional>

#include <wx/control.h>

#include "platform/Types.h"

class CRoundGroupBox : public wxControl {
public:
    CRoundGroupBox() = default;
    // buttonStyle: BS_* alignment and flat bits; exStyle: extended bits
    // (any of 0xC0 hides the caption), as the layout gives them.
    CRoundGroupBox(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize, platform::DWORD buttonStyle = 0,
                   platform::DWORD exStyle = 0);

    bool Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, platform::DWORD buttonStyle = 0, platform::DWORD exStyle = 0);

    // Whether mixed chains are allowed (the engine's chain settings); with
    // none installed they count as allowed.
    static void SetMixChainSource(std::function<bool()> source);
    static bool MixChainAllowed();

    bool AcceptsFocus() const override { return false; }

private:
    void OnPaint(wxPaintEvent& event);

    platform::DWORD mButtonStyle = 0;
    platform::DWORD mExStyle = 0;
};
