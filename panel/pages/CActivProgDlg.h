#pragma once
// The program-requests sub-page of the Activity tab (template 141): the
// engine's program log in a list sorted by the clicked column while the
// page is attached to it.

#include "panel/pages/CActivLogDlg.h"
#include "panel/pages/CActivProgModel.h"

class CSortList;

class CActivProgDlg : public CActivLogDlg<CActivProgModel> {
public:
    using CActivLogDlg::CActivLogDlg;

    CSortList* List() const { return m_pList; }

protected:
    bool OnInitDialog() override;
    void OnNotice(platform::UINT message, platform::WPARAM wParam) override;

private:
    CSortList* m_pList = nullptr;
};
