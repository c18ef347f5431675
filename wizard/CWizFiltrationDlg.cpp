#include "wizard/CWizFiltrationDlg.h"

#include <array>

#include <wx/statbox.h>

#include "wizard/CWizProtectionDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {
namespace {

using namespace filtration;

constexpr int kLeft = 40;
constexpr int kTop = 100;  // the page body, below the banner

constexpr std::array kPlaces{
    SBoxPlace{kPopUps, "Pop-up Windows.", kLeft, kTop + 22},
    SBoxPlace{kFlash, "Flash Banners.", kLeft + 240, kTop + 22},
    SBoxPlace{kImages, "Images.", kLeft, kTop + 86},
    SBoxPlace{kScripts, "Scripts.", kLeft + 240, kTop + 86},
    SBoxPlace{kCloseupEvents, "Windows Close-up Event Processing.", kLeft, kTop + 110},
    SBoxPlace{kTimerScripts, "Timer Based Processing.", kLeft + 240, kTop + 110},
    SBoxPlace{kStatusModifiers, "Status Bar Modifiers.", kLeft, kTop + 174},
    SBoxPlace{kContextMenu, "Context Menu Disablers.", kLeft + 240, kTop + 174},
    SBoxPlace{kHideTitle, "Hide Page Title.", kLeft, kTop + 198},
};

}  // namespace

CWizFiltrationDlg::CWizFiltrationDlg(CWizardSession& session)
    : CWizPage(session, dlg::kFiltration, {kBanner, kBack, kNext, kCancel}), mBoxes(MakeBoxes(this, kPlaces)) {
    new wxStaticBox(this, kKillGroup, "Kill", wxPoint(24, kTop), wxSize(500, 54));
    new wxStaticBox(this, kDisableGroup, "Disable", wxPoint(24, kTop + 64), wxSize(500, 78));
    new wxStaticBox(this, kRemoveGroup, "Remove", wxPoint(24, kTop + 152), wxSize(500, 78));
    BindStoringSteps<CWizProtectionDlg>([this] { Store(); });
}

void CWizFiltrationDlg::InitPage() {
    for (int group : {kKillGroup, kDisableGroup, kRemoveGroup}) FindWindow(group)->SetFont(GroupFont());
    mModel.Load(Session().mSettings);
    ShowBoxes(mBoxes, mModel.Boxes());
}

void CWizFiltrationDlg::Store() {
    ReadBoxes(mBoxes, mModel.Boxes());
    mModel.Store(Session().mSettings);
}

}  // namespace wizard
