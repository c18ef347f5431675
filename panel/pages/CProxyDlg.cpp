#include "panel/pages/CProxyDlg.h"

#include "panel/automation/KavelinA.h"
#include "panel/main/CPageMakers.h"
#include "panel/pages/CAnalyzerDlg.h"
#include "panel/pages/CProxyListDlg.h"
#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"

namespace {
const CPageMakers::Registrar kMaker(IDD_PROXY, [](CServerHost& host) {
    return std::unique_ptr<CBaseDlg>(std::make_unique<CProxyDlg>(&host));
});
}  // namespace

bool CProxyDlg::OnInitDialog() {
    BuildContainer(IDC_PROXY_HEADER, eStrip::Top, 13,
                   {{IDC_ZONE_POOL, PageString(1010)},
                    {IDC_ZONE_HUNTER, PageString(1137)},
                    {IDC_ZONE_ANALYZER,
                     "Analyze your proxy list.\r\n Note,  this operation is crucial to be sure you are "
                     "always using functional proxy servers."}},
                   IDC_PROXY_FRAME, {0, 0},
                   {{IDC_ZONE_POOL, kCodePoolList, IDR_HEADER_POOL},
                    {IDC_ZONE_HUNTER, kCodeHunter, IDR_HEADER_HUNTER},
                    {IDC_ZONE_ANALYZER, kCodeAnalyzer, IDR_HEADER_ANALYZER}});
    Switch().Show(kCodeHunter);
    return true;
}

int CProxyDlg::TemplateOf(int code) const { return code == kCodePoolList ? IDD_POOL_LIST : code; }

std::unique_ptr<CBaseDlg> CProxyDlg::MakeSubPage(int code) {
    CServerHost* host = GetHost();
    switch (code) {
    case kCodePoolList: return std::make_unique<CProxyListDlg>(host);
    case kCodeAnalyzer: return std::make_unique<CAnalyzerDlg>(host);
    case kCodeHunter: {
        if (!host) return nullptr;
        KavelinA factory(*host);
        factory.getProxyAnalyzerDlg();
        return host->TakeMadePage();
    }
    default: return nullptr;
    }
}
