#pragma once
// The filtration sub-page of the Advanced tab (template 139): a picture
// strip on the left whose upper half shows the incoming page (145) and
// lower half the outgoing page (144), one at a time, made by the page
// factory. It opens on the incoming page.

#include "panel/pages/CContainerPage.h"

class CAdvFltrDlg : public CContainerPage {
public:
    using CContainerPage::CContainerPage;

protected:
    bool OnInitDialog() override;
    std::unique_ptr<CBaseDlg> MakeSubPage(int code) override;
};
