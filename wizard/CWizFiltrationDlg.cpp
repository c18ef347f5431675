#include "wizard/CWizFiltrationDlg.h"

#include <array>

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
    SBoxPlace{kFlash, "Flash Banners.", kLeft + 280, kTop + 22},
    SBoxPlace{kImages, "Images.", kLeft, kTop + 86},
    SBoxPlace{kScripts, "Scripts.", kLeft + 280, kTop + 86},
    SBoxPlace{kCloseupEvents, "Windows Close-up Event Processing.", kLeft, kTop + 110},
    SBoxPlace{kTimerScripts, "Timer Based Processing.", kLeft + 280, kTop + 110},
    SBoxPlace{kStatusModifiers, "Status Bar Modifiers.", kLeft, kTop + 174},
    SBoxPlace{kContextMenu, "Context Menu Disablers.", kLeft + 280, kTop + 174},
    SBoxPlace{kHideTitle, "Hide Page Title.", kLeft, kTop + 198},
};

constexpr std::array kGroups{
    SGroupPlace{kKillGroup, "Kill", 24, kTop, 500, 54},
    SGroupPlace{kDisableGroup, "Disable", 24, kTop + 64, 500, 78},
    SGroupPlace{kRemoveGroup, "Remove", 24, kTop + 152, 500, 78},
};

}  // namespace

CWizFiltrationDlg::CWizFiltrationDlg(CWizardSession& session)
    : CWizPage(session, dlg::kFiltration, {kBanner, kBack, kNext, kCancel}, kGroups),
      mBoxes(MakeBoxes(this, kPlaces)) {
    BindStoringSteps<CWizProtectionDlg>([this] { Store(); });
}

void CWizFiltrationDlg::InitPage() {
    mModel.Load(Session().mSettings);
    ShowBoxes(mBoxes, mModel.Boxes());
}

void CWizFiltrationDlg::Store() {
    ReadBoxes(mBoxes, mModel.Boxes());
    mModel.Store(Session().mSettings);
}

}  // namespace wizard
