#pragma once
// The pool list page without its widgets: deleting the selected proxies
// (one remove request each to the util thread, or one call when every row
// is selected) and removing them all after a question.

class IProxyPoolOps;
class IProxyRows;

class CProxyListDlgModel {
public:
    CProxyListDlgModel(IProxyRows& rows, IProxyPoolOps& pool);

    void OnDeleteProxy();
    void OnRemoveAll();

private:
    void RemoveAllRows();

    IProxyRows& m_Rows;
    IProxyPoolOps& m_Pool;
};
