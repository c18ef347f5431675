#pragma once
// The result of one select: the texts the database returns (first the
// column names, then each row's values, row after row), with the column and
// row counts. Lives on its caller's stack for one query.

class CProxyDatabase;

class CDatasetTranslator {
public:
    // owns: the table is freed with the object.
    explicit CDatasetTranslator(bool owns = true);
    CDatasetTranslator(const CDatasetTranslator&) = delete;
    CDatasetTranslator& operator=(const CDatasetTranslator&) = delete;
    virtual ~CDatasetTranslator();

    // Called by CProxyDatabase::Select after each successful query, still
    // under the database lock.
    virtual void OnLoaded() {}

    char** GetTable() const { return m_Table; }
    int GetColumnCount() const { return m_Columns; }
    int GetRowCount() const { return m_Rows; }
    // The values of row (0 is the first row after the names); null out of
    // range.
    const char* const* GetRow(int row) const;

private:
    friend class CProxyDatabase;
    // Takes a new result, freeing a table it already owns.
    void Assign(char** table, int rows, int columns);
    void Release();

    char** m_Table = nullptr;
    int m_Columns = 0;
    int m_Rows = 0;
    bool m_Owns;
};
