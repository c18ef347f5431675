#include "wizard/CFinishText.h"

#include <array>

#include <wx/dcclient.h>

#include "wizard/PanelText.h"

namespace wizard {
namespace {

constexpr std::array kLines{
    STextLine{0, 0, ". Kavelin team hopes that you find the solutions"},
    STextLine{10, 30, "you need to help you get more out of this "},
    STextLine{10, 60, "feature-packed product."},
    STextLine{0, 90, ". Your settings will be saved when you click the finish"},
    STextLine{10, 120, "button."},
    STextLine{0, 150, ". To undo any changes please press the back button."},
    STextLine{0, 180, ". Please restart Internet Explorer for the settings"},
    STextLine{10, 210, "to take effect."},
};

}  // namespace

CFinishText::CFinishText(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
    Bind(wxEVT_PAINT, &CFinishText::OnPaint, this);
}

void CFinishText::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    PaintTextLines(dc, kLines, nullptr);
}

}  // namespace wizard
