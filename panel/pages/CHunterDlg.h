#pragma once
// The hunter sub-page of the Proxy tab (template 550): starts and stops
// the proxy hunter, shows what it finds and its log, deletes found proxies
// from the pool and opens the hunter's settings.

#include "panel/pages/CHunterDlgModel.h"
#include "panel/pages/CProxyWorkerDlg.h"

class CGifButton;

class CHunterDlg : public CProxyWorkerDlg<CHunterDlgModel> {
public:
    using CProxyWorkerDlg::CProxyWorkerDlg;

    CGifButton* StartButton() const { return m_pStart; }
    void OnDeleteProxy();
    void OnSettings();

protected:
    bool OnInitDialog() override;
    void ShowState() override;

private:
    CGifButton* m_pDelete = nullptr;
    CGifButton* m_pStart = nullptr;
    CGifButton* m_pSettings = nullptr;
};
