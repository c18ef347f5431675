#include "wizard/CWizIECleanupModel.h"

#include <array>

#include "platform/Root.h"
#include "wizard/DialogIds.h"

namespace wizard {
namespace {

using namespace iecleanup;

CCleanupInternet& Net(CSettings& s) { return s.getCleanupSettings()->mCleanupInternet; }
const CCleanupInternet& Net(const CSettings& s) { return s.getCleanupSettings()->mCleanupInternet; }

template <auto Get, auto Set>
constexpr SBoxRow NetBox(int box) {
    return {box, [](const CSettings& s) { return (Net(s).*Get)(); },
            [](CSettings& s, bool on) { (Net(s).*Set)(on ? 1 : 0); }};
}

using C = CCleanupInternet;
constexpr std::array kBoxes{
    NetBox<&C::getHistory, &C::setHistory>(kHistory),
    SBoxRow{kTempSys, [](const CSettings& s) { return s.getCleanupSettings()->mCleanupSys.getTemp(); },
            [](CSettings& s, bool on) { s.getCleanupSettings()->mCleanupSys.setTemp(on ? 1 : 0); }},
    NetBox<&C::getTempFiles, &C::setTempFiles>(kTempFiles),
    NetBox<&C::getAutoForms, &C::setAutoForms>(kAutoForms),
    NetBox<&C::getAutoPass, &C::setAutoPass>(kAutoPass),
    NetBox<&C::getFavourites, &C::setFavourites>(kFavourites),
    NetBox<&C::getCookies, &C::setCookies>(kCookies),
    NetBox<&C::getURLs, &C::setURLs>(kURLs),
};

constexpr std::array kCleanRows{
    SCleanRow{kHistory, &CTraceSweeper::ClearIEUrlHistory, "Clearing History"},
    SCleanRow{kTempSys, &CTraceSweeper::ClearTempSysFiles, "Clearing Temprory System File"},
    SCleanRow{kTempFiles, &CTraceSweeper::ClearIETempInternetFiles, "Clearing Temprory Internet Files"},
    SCleanRow{kAutoForms, &CTraceSweeper::ClearIEAutoForms, "Clearing Auto Complete"},
    SCleanRow{kAutoPass, &CTraceSweeper::ClearIEAutoPass, nullptr},
    SCleanRow{kFavourites, &CTraceSweeper::ClearIEFavorites, "Clearing favrouits"},
    SCleanRow{kCookies, &CTraceSweeper::ClearIECookies, "Clearing Cookies"},
    SCleanRow{kURLs, &CTraceSweeper::ClearIETypedURLHistory, "Clearing URLs"},
};

const SCleaningPlan kPlan{kCleanRows, nullptr};

}  // namespace

CWizIECleanupModel::CWizIECleanupModel() : CWizBoxPageModel(kBoxes) {}

const SCleaningPlan& CWizIECleanupModel::Plan() { return kPlan; }

void CWizIECleanupModel::RunNow(CTraceSweeper& sweeper, ICleaningStatus& status) const {
    sweeper.SetFlags(0, CB_IE);
    CWizCleaningRun::Run(kPlan, Boxes().CheckedBoxes(), sweeper, status);
}

platform::Process CWizIECleanupModel::Organize(const std::filesystem::path& starterFolder) {
    const auto favourites = platform::ShellFolder(platform::CSIDL_FAVORITES);
    if (!favourites) return {};
    return platform::StartProcess(kOpener, {favourites->string()}, starterFolder);
}

}  // namespace wizard
