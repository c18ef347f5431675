#include "panel/filtration/CAdvFltrDlg.h"

#include "panel/automation/KavelinA.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/PageText.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_ADV_FLTR, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvFltrDlg>(&host));
});
}  // namespace

bool CAdvFltrDlg::OnInitDialog() {
    BuildContainer(IDC_FLTR_STRIP, eStrip::Left, 80,
                   {{IDC_FLTR_ZONE_IN, PageString(1074)},
                    {IDC_FLTR_ZONE_OUT, PageString(1075)}},
                   IDC_FLTR_FRAME, {0, 0},
                   {{IDC_FLTR_ZONE_IN, IDD_ADV_FLTR_IN, IDR_FLTR_STRIP_IN},
                    {IDC_FLTR_ZONE_OUT, IDD_ADV_FLTR_OUT, IDR_FLTR_STRIP_OUT}});
    Switch().Show(IDD_ADV_FLTR_IN);
    return true;
}

std::unique_ptr<CBaseDlg> CAdvFltrDlg::MakeSubPage(int code) {
    CServerHost* host = GetHost();
    if (!host) return nullptr;
    KavelinA factory(*host);
    switch (code) {
    case IDD_ADV_FLTR_IN: factory.getAdvFltrInDlg(); break;
    case IDD_ADV_FLTR_OUT: factory.getAdvFltrOutDlg(); break;
    default: return nullptr;
    }
    return host->TakeMadePage();
}
