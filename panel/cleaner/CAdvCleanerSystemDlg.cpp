#include "panel/cleaner/CAdvCleanerSystemDlg.h"

#include "panel/cleaner/CleanerPageIds.h"
#include "panel/main/CPageMakers.h"

using namespace cleanerpage;

namespace {
const CPageMakers::Registrar kMaker(IDD_ADV_CLEANER_SYSTEM, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvCleanerSystemDlg>(&host));
});
}  // namespace

CAdvCleanerSystemDlg::CAdvCleanerSystemDlg(CServerHost* host) : CAdvCleanerItemsDlg(host, SystemItemTable()) {}
