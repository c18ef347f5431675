#include "cleanup/CCleanOnStartAndExit.h"

#include "cleanup/CClearFindComputerHistory.h"
#include "cleanup/CClearFindFile.h"
#include "cleanup/CClearLastLogon.h"
#include "cleanup/CClearRunHistory.h"
#include "cleanup/CClearTelNet.h"
#include "cleanup/CClearTemporaryInternetFiles.h"
#include "cleanup/CEmptyRecycleBin.h"
#include "cleanup/CIEAutoComlete.h"
#include "cleanup/CIEClearHistory.h"
#include "cleanup/CIECookies.h"
#include "cleanup/CIEFavroits.h"
#include "cleanup/CIETypedUrls.h"

namespace {

template <typename Cleaner>
void ClearIf(bool selected) {
    if (selected) Cleaner().Clear(true);
}

void CleanSelected(const CSettings& settings) {
    const CCleanupSys& sys = settings.getCleanupSettings()->mCleanupSys;
    const CCleanupInternet& internet = settings.getCleanupSettings()->mCleanupInternet;
    ClearIf<CClearFindComputerHistory>(sys.getFindComp());
    ClearIf<CClearFindFile>(sys.getFindFile());
    ClearIf<CClearLastLogon>(sys.getLogin());
    ClearIf<CEmptyRecycleBin>(sys.getRecycle());
    ClearIf<CClearRunHistory>(sys.getRun());
    ClearIf<CClearTelNet>(sys.getTelnet());
    ClearIf<CIECookies>(internet.getCookies());
    ClearIf<CIEFavroits>(internet.getFavourites());
    ClearIf<CIEClearHistory>(internet.getHistory());
    ClearIf<CIETypedUrls>(internet.getURLs());
    ClearIf<CClearTemporaryInternetFiles>(internet.getTempFiles());
    ClearIf<CIEAutoComlete>(internet.getAutoForms() || internet.getAutoPass());
}

}  // namespace

bool CCleanOnStartAndExit::CleanOnStart(CSettings settings) {
    CleanSelected(settings);
    return true;
}

bool CCleanOnStartAndExit::CleanOnExit(CSettings settings) {
    CleanSelected(settings);
    return true;
}
