#include "wizard/CWizIECleanupDlg.h"

#include <array>
#include <string>

#include "wizard/CWizCleaningDlg.h"
#include "wizard/CWizFiltrationDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

using namespace iecleanup;

constexpr int kLeft = 40;
constexpr int kRight = 284;
constexpr int kTop = 124;  // the page body, below the banner

constexpr std::array kPlaces{
    SBoxPlace{kHistory, "Clear History.", kLeft, kTop},
    SBoxPlace{kTempSys, "Clear Temprory System Files.", kRight, kTop},
    SBoxPlace{kTempFiles, "Clear Temprory Internet Files.", kLeft, kTop + 28},
    SBoxPlace{kAutoForms, "Clear AutoComplete Forms.", kRight, kTop + 28},
    SBoxPlace{kAutoPass, "Clear Auto Complete Passwords.", kLeft, kTop + 56},
    SBoxPlace{kFavourites, "Clear Internet Explorer Favorites.", kRight, kTop + 56},
    SBoxPlace{kCookies, "Clear Cookies.", kLeft, kTop + 84},
    SBoxPlace{kURLs, "Clear Typed URL History.", kRight, kTop + 84},
};

constexpr std::array kGroups{
    SGroupPlace{kGroup, "Internet Explorer Settings", 24, CWizPage::kBodyTop, 516, 140},
};

}  // namespace

CWizIECleanupDlg::CWizIECleanupDlg(CWizardSession& session)
    : CWizPage(session, dlg::kIECleanup, {kBanner, kBack, kNext, kCancel}, kGroups),
      mBoxes(MakeBoxes(this, kPlaces)),
      mOrganize(new CGifButton(this, kOrganize, wxPoint(kLeft, kTop + 150))),
      mRunNow(new CGifButton(this, kRunNow, wxPoint(kLeft + 100, kTop + 150))) {
    Bind(wxEVT_BUTTON, &CWizIECleanupDlg::OnOrganize, this, kOrganize);
    Bind(wxEVT_BUTTON, &CWizIECleanupDlg::OnRunNow, this, kRunNow);
    BindStoringSteps<CWizFiltrationDlg>([this] { Store(); });
}

void CWizIECleanupDlg::InitPage() {
    mOrganize->SetImages("IDR_ORGANIZE", "IDR_ORGANIZE_OVER");
    mRunNow->SetImages("IDR_RUNNOW", "IDR_RUNNOW_OVER");
    mModel.Load(Session().mSettings);
    ShowBoxes(mBoxes, mModel.Boxes());
}

void CWizIECleanupDlg::Store() {
    ReadBoxes(mBoxes, mModel.Boxes());
    mModel.Store(Session().mSettings);
}

// Reads the boxes only; nothing is stored.
void CWizIECleanupDlg::OnRunNow(wxCommandEvent&) {
    ReadBoxes(mBoxes, mModel.Boxes());
    CWizCleaningDlg::ShowWhile(this, [this](ICleaningStatus& status) { mModel.RunNow(Session().mTraceSweeper, status); });
}

// The favourites are files in their folder; the desktop's file manager
// organises them.
void CWizIECleanupDlg::OnOrganize(wxCommandEvent&) { CWizIECleanupModel::Organize(Session().mStarterFolder); }

}  // namespace wizard
