#include "wizard/CWelcomeText.h"

#include <array>

#include <wx/dcclient.h>

#include "wizard/PageColours.h"
#include "wizard/PanelText.h"

namespace wizard {
namespace {

constexpr std::array kLines{
    STextLine{0, 0, ". Thank you for choosing our program."},
    STextLine{0, 30, ". This will configure Kavelin for your computer."},
    STextLine{0, 60, ". It's recommended to close all other applications you"},
    STextLine{10, 90, "have running before continuing. This help prevent any"},
    STextLine{10, 120, "conflicts during the configuration process."},
    STextLine{0, 150, ". Click Next to continue or Cancel to exit"},
    STextLine{10, 180, "Kavelin configuration wizard."},
};

}  // namespace

CWelcomeText::CWelcomeText(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
    Bind(wxEVT_PAINT, &CWelcomeText::OnPaint, this);
}

void CWelcomeText::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxColour white = PageBackground();
    PaintTextLines(dc, kLines, &white);
}

}  // namespace wizard
