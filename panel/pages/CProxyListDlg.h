#pragma once
// The pool list sub-page of the Proxy tab (template 555): every stored
// proxy, deleting the selected ones or all of them.

#include <memory>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CListCtrlSink.h"
#include "panel/pages/CProxyListDlgModel.h"

class CSortList;
class CToolTipCtrlEx;

class CProxyListDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    ~CProxyListDlg() override;

    CSortList* List() const { return m_pList; }
    void OnDeleteProxy();
    void OnRemoveAll();

protected:
    bool OnInitDialog() override;

private:
    CSortList* m_pList = nullptr;
    std::unique_ptr<CListCtrlSink> m_pRows;
    std::unique_ptr<CProxyListDlgModel> m_pModel;
    CToolTipCtrlEx* m_pTip = nullptr;
};
