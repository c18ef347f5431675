#pragma once
// The analyzer sub-page of the Proxy tab (template 434): starts and stops
// the stored-proxy analyzer and shows its results and log.

#include "panel/pages/CAnalyzerDlgModel.h"
#include "panel/pages/CProxyWorkerDlg.h"

class CAnimatedGifStatic;

class CAnalyzerDlg : public CProxyWorkerDlg<CAnalyzerDlgModel> {
public:
    using CProxyWorkerDlg::CProxyWorkerDlg;

    wxTextCtrl* TimeOut() const { return m_pTimeOut; }

protected:
    bool OnInitDialog() override;
    void ShowState() override;

private:
    wxTextCtrl* m_pTimeOut = nullptr;
    CAnimatedGifStatic* m_pStart = nullptr;
    unsigned m_ShownImage = 0;
};
