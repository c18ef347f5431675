#include "panel/cleaner/CAdvCleanerItemsModel.h"

#include "panel/pages/IPageHost.h"
#include "platform/MessageBox.h"

CAdvCleanerItemsModel::CAdvCleanerItemsModel(IPageHost& host, const CleanerItemTable& table)
    : m_Host(host), m_Table(table), m_Values(table.items.size(), 0) {}

int CAdvCleanerItemsModel::Value(int control) const {
    const int index = IndexOfItem(m_Table, control);
    return index < 0 ? 0 : m_Values[index];
}

void CAdvCleanerItemsModel::Load() {
    const CSettings& settings = m_Host.WorkingSettings();
    for (std::size_t i = 0; i < m_Table.items.size(); ++i) {
        m_Values[i] = m_Table.items[i].get(settings) ? 1 : 0;
    }
}

void CAdvCleanerItemsModel::OnItemClicked(int control, const std::vector<int>& screen) {
    if (screen.size() != m_Values.size()) return;
    const int index = IndexOfItem(m_Table, control);
    if (index < 0) return;
    if (m_Table.warnedControl == control && screen[index]) WarnFavourites();
    Store(screen);
}

void CAdvCleanerItemsModel::SelectAll() {
    m_Host.SetModified(true, 0);
    if (m_Table.warnedControl) WarnFavourites();
    Store(std::vector<int>(m_Values.size(), 1));
    m_bOffersSelectAll = false;
}

void CAdvCleanerItemsModel::DeselectAll() {
    Store(std::vector<int>(m_Values.size(), 0));
    m_bOffersSelectAll = true;
}

void CAdvCleanerItemsModel::Store(const std::vector<int>& screen) {
    m_Values = screen;
    m_Host.SetModified(true, 0);
    CSettings& settings = m_Host.WorkingSettings();
    for (std::size_t i = 0; i < m_Table.items.size(); ++i) m_Table.items[i].set(settings, m_Values[i]);
}

void CAdvCleanerItemsModel::WarnFavourites() const {
    platform::MessageBox({}, "Warning: will clean your favorites", "Favorites Warning", platform::MB_OK);
}
