#include "panel/pages/CProxyListDlgModel.h"

#include <memory>

#include "panel/pages/IProxyPoolOps.h"
#include "panel/pages/IProxyRows.h"
#include "panel/pages/PageText.h"
#include "platform/MessageBox.h"
#include "relay/pool/CProxy.h"

namespace {
constexpr unsigned IDS_CONFIRM_REMOVE_ALL = 1;
}

CProxyListDlgModel::CProxyListDlgModel(IProxyRows& rows, IProxyPoolOps& pool)
    : m_Rows(rows), m_Pool(pool) {}

void CProxyListDlgModel::RemoveAllRows() {
    m_Rows.SetRenumber(false);
    m_Rows.DeleteAllItems();
    m_Rows.SetRenumber(true);
    m_Pool.DeleteAllProxies();
}

void CProxyListDlgModel::OnDeleteProxy() {
    const int count = m_Rows.GetItemCount();
    if (count == 0) return;
    if (m_Rows.GetSelectedCount() == count) {
        RemoveAllRows();
        return;
    }
    m_Rows.SetRenumber(false);
    for (int row = m_Rows.GetFirstSelected(); row >= 0; row = m_Rows.GetFirstSelected()) {
        const std::string address = m_Rows.GetItemText(row, 0);
        const std::string port = m_Rows.GetItemText(row, 1);
        m_Rows.DeleteItem(row);
        if (address.empty()) continue;
        // A proxy that could not be handed over comes back and is freed here.
        m_Pool.PostRemoveProxy(std::make_unique<CProxy>(address.c_str(), AsciiToInt(port),
                                                        PROXY_TYPE_UNKNOWN, "unknown"));
    }
    m_Rows.SetRenumber(true);
}

void CProxyListDlgModel::OnRemoveAll() {
    if (m_Rows.GetItemCount() == 0) return;
    if (platform::MessageBox(platform::HWND(), PageString(IDS_CONFIRM_REMOVE_ALL),
                             "Kavelin Confirmation", platform::MB_YESNO) == platform::IDYES) {
        RemoveAllRows();
    }
}
