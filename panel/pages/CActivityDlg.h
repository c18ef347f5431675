#pragma once
// The Activity tab (template 137): program requests, chains or the
// filtration log, one sub-page at a time.

#include "panel/pages/CContainerPage.h"

class CActivityDlg : public CContainerPage {
public:
    using CContainerPage::CContainerPage;

protected:
    bool OnInitDialog() override;
    std::unique_ptr<CBaseDlg> MakeSubPage(int code) override;
};
