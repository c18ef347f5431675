#pragma once
// The chains sub-page of the Activity tab (template 143): the engine's
// chain log in a tree while the page is attached to it.

#include <memory>

#include "panel/pages/CActivChainModel.h"
#include "panel/pages/CActivLogDlg.h"
#include "panel/pages/CTreeCtrlSink.h"

class wxTreeCtrl;

class CActivChainDlg : public CActivLogDlg<CActivChainModel> {
public:
    using CActivLogDlg::CActivLogDlg;

    wxTreeCtrl* Tree() const { return m_pTree; }

protected:
    bool OnInitDialog() override;
    void OnNotice(platform::UINT message, platform::WPARAM wParam) override;

private:
    wxTreeCtrl* m_pTree = nullptr;
    std::unique_ptr<CTreeCtrlSink> m_pSink;
};
