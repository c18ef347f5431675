#include "wizard/CWizAutoConfigDlg.h"

#include <array>

#include <wx/bitmap.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "platform/Resource.h"
#include "wizard/CPictureImage.h"
#include "wizard/CWizSetupTypeDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using namespace autoconfig;

struct SProgramBox {
    int box;
    unsigned logo;
};

// Two rows of four, each box beside its program's logo.
constexpr std::array kProgramBoxes{
    SProgramBox{kIE, logo::kIE},         SProgramBox{kOpera, logo::kOpera},
    SProgramBox{kWsFtp, logo::kWsFtp},   SProgramBox{kNetscape, logo::kNetscape},
    SProgramBox{kMSN, logo::kMSN},       SProgramBox{kYahoo, logo::kYahoo},
    SProgramBox{kMirc, logo::kMirc},     SProgramBox{kCuteFtp, logo::kCuteFtp},
};

constexpr std::array kGroups{
    SGroupPlace{kProgramsGroup, "Kavelin AutoConfiguration", 24, CWizPage::kBodyTop, 496, 130},
    SGroupPlace{kGeneralGroup, "Kavelin General Settings", 24, CWizPage::kBodyTop + 140, 496, 112},
};

wxBitmap Logo(unsigned number) {
    CPictureImage picture;
    if (!picture.LoadFromResource(platform::ResourceNumber(number), "GIF")) return wxBitmap();
    return wxBitmap(picture.Picture());
}

}  // namespace

CWizAutoConfigDlg::CWizAutoConfigDlg(CWizardSession& session)
    : CWizPage(session, dlg::kAutoConfig, {kBanner, kBack, kNext, kCancel}, kGroups) {
    for (std::size_t i = 0; i < kProgramBoxes.size(); ++i) {
        const int x = 40 + static_cast<int>(i % 4) * 120;
        const int y = kBodyTop + 30 + static_cast<int>(i / 4) * 48;
        mBoxes[kProgramBoxes[i].box] = new wxCheckBox(this, kProgramBoxes[i].box, wxString(), wxPoint(x, y + 8));
        new wxStaticBitmap(this, wxID_ANY, Logo(kProgramBoxes[i].logo), wxPoint(x + 24, y));
    }
    const int generalTop = kBodyTop + 165;
    mBoxes[kLaunchAtStartup] =
        new wxCheckBox(this, kLaunchAtStartup, "Run Kavelin when Windows starts.", wxPoint(40, generalTop));
    mBoxes[kToolbarAlerts] = new wxCheckBox(
        this, kToolbarAlerts, "Display alerts when settings are changed from Internet Explorer toolbar.",
        wxPoint(40, generalTop + 26));
    mBoxes[kToolbarAlerts]->Hide();
    mBoxes[kCleanAtStart] =
        new wxCheckBox(this, kCleanAtStart, "Clean at Windows startup", wxPoint(40, generalTop + 52));
    new wxStaticText(this, wxID_ANY, "Note: The unchecked programs are not installed.",
                     wxPoint(24, kBodyTop + 262));
    Bind(wxEVT_BUTTON, &CWizAutoConfigDlg::OnNext, this, kNext);
}

wxCheckBox* CWizAutoConfigDlg::Box(int id) const {
    const auto it = mBoxes.find(id);
    return it == mBoxes.end() ? nullptr : it->second;
}

void CWizAutoConfigDlg::InitPage() {
    mModel.Load(Session().mSettings);
    mModel.ProbeInstalled();
    ShowModel();
}

void CWizAutoConfigDlg::ShowModel() {
    for (const auto& [id, box] : mBoxes) {
        box->SetValue(mModel.IsChecked(id));
        box->Enable(mModel.IsEnabled(id));
    }
}

void CWizAutoConfigDlg::OnNext(wxCommandEvent&) {
    for (const auto& [id, box] : mBoxes) mModel.SetChecked(id, box->GetValue());
    mModel.Store(Session().mSettings);
    OpenNext<CWizSetupTypeDlg>();
}

}  // namespace wizard
