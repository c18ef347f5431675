#include "wizard/CWizSysCleanupDlg.h"

#include <array>

#include <wx/statbox.h>

#include "wizard/CWizAddDirDlg.h"
#include "wizard/CWizCleaningDlg.h"
#include "wizard/CWizIECleanupDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

using namespace syscleanup;

constexpr int kLeft = 40;
constexpr int kRight = 280;
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

constexpr const char* kAddTip = "Add custom directory to clean";

}  // namespace

CWizSysCleanupDlg::CWizSysCleanupDlg(CWizardSession& session)
    : CWizPage(session, dlg::kSysCleanup, {kBanner, kBack, kNext, kCancel}),
      mBoxes(MakeBoxes(this, kPlaces)),
      mCustom(new wxCheckBox(this, kCustom, "Custom Directories.", wxPoint(kLeft, kTop + 132))),
      mDirectories(this, {kList, kAdd, kEdit, kRemove}, wxPoint(kLeft, kTop + 156), wxSize(300, 70)),
      mRunNow(new CGifButton(this, kRunNow, wxPoint(400, kTop + 80))) {
    new wxStaticBox(this, kSettingsGroup, "Clean-up Settings", wxPoint(24, kBodyTop), wxSize(500, 110));
    new wxStaticBox(this, kCustomGroup, "Custom Directories", wxPoint(24, kTop + 112), wxSize(500, 150));
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
    for (int group : {kSettingsGroup, kCustomGroup}) FindWindow(group)->SetFont(GroupFont());
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
