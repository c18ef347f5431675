#include "panel/pages/CActivityDlg.h"

#include "panel/automation/KavelinA.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/ActivityPageIds.h"
#include "panel/pages/PageText.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ACTIVITY, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CActivityDlg>(&host));
});
}  // namespace

bool CActivityDlg::OnInitDialog() {
    BuildContainer(IDC_ACTIVITY_HEADER, eStrip::Top, 13,
                   {{IDC_ZONE_PROGRAMS, PageString(1016)},
                    {IDC_ZONE_CHAINS, PageString(1017)},
                    {IDC_ZONE_FILTER, PageString(1018)}},
                   IDC_ACTIVITY_FRAME, {5, 5},
                   {{IDC_ZONE_PROGRAMS, IDD_ACTIV_PROG, IDR_HEADER_PROGRAMS},
                    {IDC_ZONE_CHAINS, IDD_ACTIV_CHAIN, IDR_HEADER_CHAINS},
                    {IDC_ZONE_FILTER, IDD_ACTIV_FILTER, IDR_HEADER_FILTER}});
    Switch().Show(IDD_ACTIV_PROG);
    return true;
}

std::unique_ptr<CBaseDlg> CActivityDlg::MakeSubPage(int code) {
    CServerHost* host = GetHost();
    if (!host) return nullptr;
    KavelinA factory(*host);
    switch (code) {
    case IDD_ACTIV_PROG: factory.getActivProgDlg(); break;
    case IDD_ACTIV_CHAIN: factory.getActivChainDlg(); break;
    case IDD_ACTIV_FILTER: factory.getActivFilterDlg(); break;
    default: return nullptr;
    }
    return host->TakeMadePage();
}
