#pragma once
// The pool's database: every statement of the engine is built here as text
// from fixed pieces and run under one lock. The engine never creates or
// alters a table; the delivered file holds them.
//
// Lock order: this lock is the innermost of the pool's locks; it is taken
// inside the pool lock and the lists' lock, never the reverse.

#include <string>
#include <string_view>
#include <vector>

#include "platform/CriticalSection.h"

struct sqlite3;
class CDatasetTranslator;

class CProxyDatabase {
public:
    CProxyDatabase() = default;
    CProxyDatabase(const CProxyDatabase&) = delete;
    CProxyDatabase& operator=(const CProxyDatabase&) = delete;
    virtual ~CProxyDatabase();

    // Closes an open connection, then opens the existing file at path (it is
    // never created). True when a connection came back.
    bool Open(const char* path);
    void Close();
    bool IsOpen() const;

    // All false when no connection is open or the database reports an
    // error. An empty where or orderBy leaves that clause out.
    bool Insert(const char* table, const std::vector<std::string>& columns,
                const std::vector<std::string>& values, const char* where);
    bool Delete(const char* table, const char* where);
    bool Select(const char* table, CDatasetTranslator& result, const char* fields,
                const char* where, const char* orderBy, bool descending, int limit);

    // The text of the database's last error (kept only; never shown).
    std::string getLastError() const;

    // Statement texts, exactly as run.
    static std::string BuildInsert(const char* table, const std::vector<std::string>& columns,
                                   const std::vector<std::string>& values, const char* where);
    static std::string BuildDelete(const char* table, const char* where);
    static std::string BuildSelect(const char* table, const char* fields, const char* where,
                                   const char* orderBy, bool descending, int limit);
    // text with every "'" doubled, for use inside apostrophes.
    static std::string Escape(std::string_view text);

private:
    bool Execute(const std::string& statement);
    void CloseLocked();

    sqlite3* m_Handle = nullptr;
    std::string m_LastError;
    mutable platform::CriticalSection mLock;
};
