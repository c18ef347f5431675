#include "wizard/CWizSysCleanupDlg.h"

#include <array>

#include "wizard/CWizAddDirDlg.h"
#include "wizard/CWizCleaningDlg.h"
#include "wizard/CWizIECleanupDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

using namespace syscleanup;

constexpr int kLeft = 40;
constexpr int kRight = 300;
constexpr int kTop = 124;  // the page body, below the banner

constexpr std::array kPlaces{
    SBoxPlace{kRecycle, "Empty Recycle Bin.", kLeft, kTop},
    SBoxPlace{kRun, "Clear Run History.", kRight, kTop},
    SBoxPlace{kRecent, "Clear Documents History.", kLeft, kTop + 24},
    SBoxPlace{kLogin, "Clear Last Logon User List.", kRight, kTop + 24},
    SBoxPlace{kFindFile, "Clear Find-Files History.", kLeft, kTop + 48},
    SBoxPlace{kFindComp, "Clear Find Computer History.", kRight, kTop + 48},
    SBoxPlace{kNetwork, "Clear Network Connections History.", kLeft, kTop + 72},
    SBoxPlace{kTelnet, "Clear Telnet History.", kRight, kTop + 72},
};

constexpr std::array kGroups{
    SGroupPlace{kSettingsGroup, "Clean-up Settings", 24, CWizPage::kBodyTop, 500, 128},
    SGroupPlace{kCustomGroup, "Custom Directories", 24, kTop + 108, 500, 142},
};

constexpr const char* kAddTip = "Add custom directory to clean";

}  // namespace

CWizSysCleanupDlg::CWizSysCleanupDlg(CWizardSession& session)
    : CWizPage(session, dlg::kSysCleanup, {kBanner, kBack, kNext, kCancel}, kGroups),
      mBoxes(MakeBoxes(this, kPlaces)),
      mCustom(new wxCheckBox(this, kCustom, "Custom Directories.", wxPoint(kLeft, kTop + 126))),
      mDirectories(this, {kList, kAdd, kEdit, kRemove}, wxPoint(kLeft, kTop + 150), wxSize(300, 60)),
      mRunNow(new CGifButton(this, kRunNow, wxPoint(400, kTop + 150))) {
    Bind(wxEVT_CHECKBOX, &CWizSysCleanupDlg::OnCustom, this, kCustom);
    Bind(wxEVT_LISTBOX, &CWizSysCleanupDlg::OnSelection, this, kList);
    mDirectories.BindEditing<CWizAddDirDlg>(
        mModel.Directories(),
        {.add = [this](const std::string& text) { mModel.AddDirectory(text); },
         .edit = [this](std::size_t line, const std::string& text) { mModel.EditDirectory(line, text); },
         .remove = [this](std::size_t line) { mModel.RemoveDirectory(line); }});
    Bind(wxEVT_BUTTON, &CWizSysCleanupDlg::OnRunNow, this, kRunNow);
    BindStoringSteps<CWizIECleanupDlg>([this] { Store(); });
}

void CWizSysCleanupDlg::InitPage() {
    mCustom->SetToolTip(kAddTip);
    mDirectories.List().SetToolTip(kAddTip);
    mRunNow->SetImages("IDR_RUNNOW", "IDR_RUNNOW_OVER");
    mModel.Load(Session().mSettings);
    ShowBoxes(mBoxes, mModel.Boxes());
    mDirectories.Show(mModel.Directories());
}

void CWizSysCleanupDlg::Store() {
    ReadBoxes(mBoxes, mModel.Boxes());
    mModel.Store(Session().mSettings);
}

void CWizSysCleanupDlg::OnCustom(wxCommandEvent&) {
    mModel.SetCustomBox(mCustom->GetValue());
    mDirectories.Show(mModel.Directories());
}

void CWizSysCleanupDlg::OnSelection(wxCommandEvent&) {
    mModel.SelectionChanged(mDirectories.Selection().has_value());
    mDirectories.Show(mModel.Directories());
}

// Reads the boxes only; nothing is stored.
void CWizSysCleanupDlg::OnRunNow(wxCommandEvent&) {
    ReadBoxes(mBoxes, mModel.Boxes());
    CWizCleaningDlg::ShowWhile(this, [this](ICleaningStatus& status) { mModel.RunNow(Session().mTraceSweeper, status); });
}

}  // namespace wizard
