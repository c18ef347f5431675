#include "panel/cleaner/CAdvCleanerIexplorerDlg.h"

#include "panel/cleaner/CleanerPageIds.h"
#include "panel/main/CPageMakers.h"

using namespace cleanerpage;

namespace {
const CPageMakers::Registrar kMaker(IDD_ADV_CLEANER_IEXPLORER, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvCleanerIexplorerDlg>(&host));
});
}  // namespace

CAdvCleanerIexplorerDlg::CAdvCleanerIexplorerDlg(CServerHost* host)
    : CAdvCleanerItemsDlg(host, BrowserItemTable()) {}
