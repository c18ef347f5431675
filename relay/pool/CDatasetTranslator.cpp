#include "relay/pool/CDatasetTranslator.h"

#include <sqlite3.h>

CDatasetTranslator::CDatasetTranslator(bool owns) : m_Owns(owns) {}

CDatasetTranslator::~CDatasetTranslator() { Release(); }

const char* const* CDatasetTranslator::GetRow(int row) const {
    if (!m_Table || row < 0 || row >= m_Rows) return nullptr;
    return m_Table + static_cast<long>(row + 1) * m_Columns;
}

void CDatasetTranslator::Assign(char** table, int rows, int columns) {
    Release();
    m_Table = table;
    m_Rows = rows;
    m_Columns = columns;
}

void CDatasetTranslator::Release() {
    if (m_Owns && m_Table) sqlite3_free_table(m_Table);
    m_Table = nullptr;
    m_Rows = 0;
    m_Columns = 0;
}
