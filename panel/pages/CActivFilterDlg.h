#pragma once
// The filtration sub-page of the Activity tab (template 147): the engine's
// filtration counters as text while the page is attached to them.

#include "panel/pages/CActivFilterModel.h"
#include "panel/pages/CActivLogDlg.h"

class wxTextCtrl;

class CActivFilterDlg : public CActivLogDlg<CActivFilterModel> {
public:
    using CActivLogDlg::CActivLogDlg;

    wxTextCtrl* Text() const { return m_pText; }

protected:
    bool OnInitDialog() override;
    void OnNotice(platform::UINT message, platform::WPARAM wParam) override;

private:
    wxTextCtrl* m_pText = nullptr;
};
