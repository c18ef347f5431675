#include "wizard/CWizHowDlg.h"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/display.h>
#include <wx/region.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "platform/Resource.h"
#include "wizard/CPictureImage.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

constexpr int kGrowTimer = 1;
constexpr int kTickMs = 10;
constexpr int kMargin = 22;

// COLORREF 0xFFCAAB and 0xA14D38.
wxColour HowBackground() { return wxColour(0xAB, 0xCA, 0xFF); }
wxColour HowText() { return wxColour(0x38, 0x4D, 0xA1); }

wxBitmap ChainPicture() {
    CPictureImage picture;
    if (!picture.LoadFromResource(platform::ResourceNumber(how::kPicture), "GIF")) return wxBitmap(1, 1);
    return wxBitmap(picture.Picture());
}

}  // namespace

CWizHowDlg::CWizHowDlg(wxWindow* parent)
    : wxDialog(parent, dlg::kHow, wxString(), wxDefaultPosition, wxDefaultSize,
               wxBORDER_NONE | wxFRAME_SHAPED),
      mTimer(this, kGrowTimer) {
    const wxBitmap picture = ChainPicture();
    // Inside the window region, with a margin on every side.
    new wxStaticBitmap(this, how::kPictureControl, picture, wxPoint(kMargin, kMargin));
    auto* text = new wxStaticText(this, how::kText, "Press Escape or Enter to return to the wizard",
                                  wxPoint(kMargin, kMargin + 8 + picture.GetHeight()));
    text->SetFont(wxFont(wxFontInfo(wxSize(10, 10)).FaceName("Arial").Bold()));
    text->SetForegroundColour(HowText());
    SetBackgroundColour(HowBackground());
    for (wxWindow* child : GetChildren()) child->SetBackgroundColour(HowBackground());
    mFullSize = wxSize(std::max(picture.GetWidth(), text->GetBestSize().x) + 2 * kMargin,
                       kMargin + picture.GetHeight() + 8 + text->GetBestSize().y + kMargin);
    const wxRect desktop = wxDisplay(static_cast<unsigned>(0)).GetClientArea();
    mModel.emplace(mFullSize.x, mFullSize.y, desktop.width, desktop.height);
    const CWizHowModel::SRect region = mModel->Region();
    SetShape(wxRegion(region.x, region.y, region.width, region.height));
    const CWizHowModel::SRect start = mModel->Start();
    SetSize(start.x, start.y, start.width, start.height);
    Bind(wxEVT_TIMER, &CWizHowDlg::OnTimer, this, kGrowTimer);
    Bind(wxEVT_CHAR_HOOK, &CWizHowDlg::OnCharHook, this);
    mTimer.Start(kTickMs);
}

void CWizHowDlg::OnTimer(wxTimerEvent&) {
    const wxSize now = GetSize();
    const CWizHowModel::SRect next = mModel->Tick(now.x, now.y);
    SetSize(next.x, next.y, next.width, next.height);
    if (!mModel->Running()) mTimer.Stop();
}

void CWizHowDlg::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        mTimer.Stop();
        EndModal(wxID_CANCEL);
        return;
    }
    event.Skip();
}

}  // namespace wizard
