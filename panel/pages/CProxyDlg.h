#pragma once
// The Proxy tab (template 136): the pool list, the hunter or the analyzer,
// one sub-page at a time; it opens on the hunter.

#include "panel/pages/CContainerPage.h"

class CProxyDlg : public CContainerPage {
public:
    using CContainerPage::CContainerPage;

protected:
    bool OnInitDialog() override;
    std::unique_ptr<CBaseDlg> MakeSubPage(int code) override;
    int TemplateOf(int code) const override;
};
