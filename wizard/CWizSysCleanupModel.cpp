#include "wizard/CWizSysCleanupModel.h"

#include <array>

#include "cleanup/CFileManip.h"
#include "platform/MessageBox.h"
#include "platform/Root.h"
#include "wizard/DialogIds.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

using namespace syscleanup;

CCleanupSys& Sys(CSettings& s) { return s.getCleanupSettings()->mCleanupSys; }
const CCleanupSys& Sys(const CSettings& s) { return s.getCleanupSettings()->mCleanupSys; }

template <auto Get, auto Set>
constexpr SBoxRow SysBox(int box) {
    return {box, [](const CSettings& s) { return (Sys(s).*Get)(); },
            [](CSettings& s, bool on) { (Sys(s).*Set)(on ? 1 : 0); }};
}

using C = CCleanupSys;
constexpr std::array kBoxes{
    SysBox<&C::getRecycle, &C::setRecycle>(kRecycle),    SysBox<&C::getRun, &C::setRun>(kRun),
    SysBox<&C::getRecent, &C::setRecent>(kRecent),       SysBox<&C::getLogin, &C::setLogin>(kLogin),
    SysBox<&C::getFindFile, &C::setFindFile>(kFindFile), SysBox<&C::getFindComp, &C::setFindComp>(kFindComp),
    SysBox<&C::getNetwork, &C::setNetwork>(kNetwork),    SysBox<&C::getTelnet, &C::setTelnet>(kTelnet),
};

constexpr std::array kCleanRows{
    SCleanRow{kRecycle, &CTraceSweeper::ClearRecycleBin, "Clearing Recycle Bin"},
    SCleanRow{kRun, &CTraceSweeper::ClearRunHistory, "Clearing Run History"},
    SCleanRow{kRecent, &CTraceSweeper::ClearRecentFolder, "Clearing Recent Ddocuments History"},
    SCleanRow{kLogin, &CTraceSweeper::ClearLastLogonUser, "Clearing Last Logon User"},
    SCleanRow{kFindFile, &CTraceSweeper::ClearFindFiles, "Clearing Find Files History"},
    SCleanRow{kFindComp, &CTraceSweeper::ClearFindComputer, "Clearing Find Computer History"},
    SCleanRow{kNetwork, &CTraceSweeper::ClearNetworkConnectionsHistory, "Clearing Network Connection History"},
    SCleanRow{kTelnet, &CTraceSweeper::ClearTelNetHistory, "Clearing Telnet History"},
};

const SCleaningPlan kPlan{kCleanRows, "Please Wait While Velamor Clears Your Recycle Bin..."};

}  // namespace

CWizSysCleanupModel::CWizSysCleanupModel()
    : CWizBoxPageModel(kBoxes), directories_("Are You Sure You Want To Remove This Directory %s") {}

const SCleaningPlan& CWizSysCleanupModel::Plan() { return kPlan; }

void CWizSysCleanupModel::SetCustomBox(bool checked) {
    customBox_ = checked;
    directories_.SetBoxChecked(checked);
}

bool CWizSysCleanupModel::AddDirectory(const std::string& text) {
    const std::string directory = CWizEntryList::Trim(text);
    if (directory.empty()) return false;
    directories_.EnableEditAndRemove();
    if (RefuseRootFolders(directory)) return false;
    if (CFileManip::Existence(directory + "*") == 0) {
        platform::MessageBox(nullptr, "Invalid Directory", "Bad Command or Name not Found", platform::MB_OK);
        return false;
    }
    return directories_.Append(directory);
}

bool CWizSysCleanupModel::EditDirectory(std::size_t index, const std::string& text) {
    if (!text.empty() && RefuseRootFolders(text)) return false;
    return directories_.Replace(index, text);
}

bool CWizSysCleanupModel::RefuseRootFolders(const std::string& directory) {
    if (!platform::HoldsRootFolders(directory)) return false;
    platform::MessageBox(nullptr, text::kKeepsOwnFiles, text::kCaption, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return true;
}

void CWizSysCleanupModel::SelectionChanged(bool hasSelection) {
    if (hasSelection) {
        directories_.EnableEditAndRemove();
    } else {
        directories_.SetState({});
    }
}

void CWizSysCleanupModel::RunNow(CTraceSweeper& sweeper, ICleaningStatus& status) const {
    CWizCleaningRun::Run(kPlan, Boxes().CheckedBoxes(), sweeper, status, [this] {
        if (!customBox_) return;
        for (const std::string& directory : directories_.Lines()) CFileManip::DelTree(directory, 1);
    });
}

}  // namespace wizard
