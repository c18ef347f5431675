#include "wizard/CWizProtectionDlg.h"

#include <array>

#include "wizard/CWizStopListDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

using namespace protection;

constexpr int kLeft = 40;
constexpr int kTop = 100;  // the page body, below the banner

constexpr std::array kPlaces{
    SBoxPlace{kBrowserShielding, "Browser Shielding", kLeft, kTop + 22},
    SBoxPlace{kOsShielding, "OS Shielding", kLeft + 240, kTop + 22},
    SBoxPlace{kReferrer, "Referrer Blocking.", kLeft, kTop + 46},
    SBoxPlace{kIpMasking, "IP Masking : Fake IP", kLeft, kTop + 70},
    SBoxPlace{kAllCookies, "Disable all Cookies.", kLeft, kTop + 126},
    SBoxPlace{kUnsafeCookies, "Disable Unsafe Cookies.", kLeft + 240, kTop + 126},
};

constexpr std::array kGroups{
    SGroupPlace{kProtectionGroup, "Protection", 24, kTop, 500, 100},
    SGroupPlace{kDisableGroup, "Disable", 24, kTop + 104, 500, 54},
};

}  // namespace

CWizProtectionDlg::CWizProtectionDlg(CWizardSession& session)
    : CWizPage(session, dlg::kProtection, {kBanner, kBack, kNext, kCancel}, kGroups),
      mBoxes(MakeBoxes(this, kPlaces)),
      mFakeIp(new wxTextCtrl(this, kFakeIp, wxString(), wxPoint(kLeft + 200, kTop + 68), wxSize(140, -1))) {
    // The fake address is not offered; its box only switches the field.
    mBoxes[kIpMasking]->Hide();
    mFakeIp->Hide();
    mFakeIp->Disable();
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { mFakeIp->Enable(mBoxes[kIpMasking]->GetValue()); }, kIpMasking);
    BindStoringSteps<CWizStopListDlg>([this] { Store(); });
}

void CWizProtectionDlg::InitPage() {
    mModel.Load(Session().mSettings);
    ShowBoxes(mBoxes, mModel.Boxes());
}

void CWizProtectionDlg::Store() {
    ReadBoxes(mBoxes, mModel.Boxes());
    mModel.Store(Session().mSettings);
}

}  // namespace wizard
