#include "relay/pool/CProxyDatabase.h"

#include <sqlite3.h>

#include <mutex>

#include "relay/pool/CDatasetTranslator.h"

namespace {

bool IsEmpty(const char* text) { return !text || !*text; }

std::string Text(const char* text) { return text ? text : ""; }

}  // namespace

CProxyDatabase::~CProxyDatabase() { Close(); }

bool CProxyDatabase::Open(const char* path) {
    std::lock_guard lock(mLock);
    CloseLocked();
    if (!path) return false;
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path, &handle, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        m_LastError = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        return false;
    }
    m_Handle = handle;
    return true;
}

void CProxyDatabase::Close() {
    std::lock_guard lock(mLock);
    CloseLocked();
}

void CProxyDatabase::CloseLocked() {
    if (m_Handle) sqlite3_close(m_Handle);
    m_Handle = nullptr;
}

bool CProxyDatabase::IsOpen() const {
    std::lock_guard lock(mLock);
    return m_Handle != nullptr;
}

std::string CProxyDatabase::getLastError() const {
    std::lock_guard lock(mLock);
    return m_LastError;
}

std::string CProxyDatabase::Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string CProxyDatabase::BuildInsert(const char* table, const std::vector<std::string>& columns,
                                        const std::vector<std::string>& values, const char* where) {
    std::string sql = "insert into " + Text(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) sql += ",";
        sql += Escape(columns[i]);
    }
    sql += ") values (";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) sql += ",";
        sql += "'" + Escape(values[i]) + "'";
    }
    sql += ")";
    if (!IsEmpty(where)) sql += " where " + Text(where);
    return sql + ";";
}

std::string CProxyDatabase::BuildDelete(const char* table, const char* where) {
    std::string sql = "delete from " + Text(table);
    if (!IsEmpty(where)) sql += " where " + Text(where);
    return sql + ";";
}

std::string CProxyDatabase::BuildSelect(const char* table, const char* fields, const char* where,
                                        const char* orderBy, bool descending, int limit) {
    std::string sql = "select " + Text(fields) + " from " + Text(table);
    if (!IsEmpty(where)) sql += " where " + Text(where);
    if (!IsEmpty(orderBy)) {
        sql += " order by " + Text(orderBy);
        if (descending) sql += " desc ";
    }
    if (limit > 0) sql += "  LIMIT " + std::to_string(limit) + " ";
    return sql + ";";
}

bool CProxyDatabase::Execute(const std::string& statement) {
    if (!m_Handle) return false;
    char* error = nullptr;
    const int rc = sqlite3_exec(m_Handle, statement.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        m_LastError = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        return false;
    }
    return true;
}

bool CProxyDatabase::Insert(const char* table, const std::vector<std::string>& columns,
                            const std::vector<std::string>& values, const char* where) {
    std::lock_guard lock(mLock);
    if (columns.size() != values.size()) return false;
    return Execute(BuildInsert(table, columns, values, where));
}

bool CProxyDatabase::Delete(const char* table, const char* where) {
    std::lock_guard lock(mLock);
    return Execute(BuildDelete(table, where));
}

bool CProxyDatabase::Select(const char* table, CDatasetTranslator& result, const char* fields,
                            const char* where, const char* orderBy, bool descending, int limit) {
    std::lock_guard lock(mLock);
    result.Assign(nullptr, 0, 0);
    if (!m_Handle) return false;
    const std::string sql = BuildSelect(table, fields, where, orderBy, descending, limit);
    char** texts = nullptr;
    int rows = 0;
    int columns = 0;
    char* error = nullptr;
    const int rc = sqlite3_get_table(m_Handle, sql.c_str(), &texts, &rows, &columns, &error);
    if (rc != SQLITE_OK) {
        m_LastError = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        if (texts) sqlite3_free_table(texts);
        return false;
    }
    result.Assign(texts, rows, columns);
    result.OnLoaded();
    return true;
}
