#include "pool/PoolFixture.h"

#include <sqlite3.h>

#include <ctime>
#include <fstream>
#include <iterator>

#include "platform/Root.h"
#include "relay/pool/ProxyDatabaseFile.h"

namespace pooltest {
namespace fs = std::filesystem;

namespace {

struct Db {
    explicit Db(const fs::path& path) {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << path;
        }
    }
    ~Db() { sqlite3_close(db); }
    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error ? error : "?");
        }
        sqlite3_free(error);
    }
    sqlite3* db = nullptr;
};

void InsertTexts(sqlite3* db, const std::string& sql, const std::vector<std::string>& texts) {
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        sqlite3_bind_text(statement, static_cast<int>(i + 1), texts[i].c_str(), -1,
                          SQLITE_TRANSIENT);
    }
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
    sqlite3_finalize(statement);
}

}  // namespace

std::string DaysAgo(int n) {
    const std::time_t moment = std::time(nullptr) - static_cast<std::time_t>(n) * 86400;
    std::tm local{};
    localtime_r(&moment, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

void MakeDatabase(const fs::path& path) {
    std::ifstream in(KV_SCHEMA_SQL);
    ASSERT_TRUE(in) << "schema " << KV_SCHEMA_SQL;
    const std::string schema{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    fs::create_directories(path.parent_path());
    Db(path).Exec(schema);
}

void InsertRows(const fs::path& path, const std::string& table, const std::vector<Row>& rows) {
    Db db(path);
    db.Exec("BEGIN");
    for (const Row& r : rows) {
        InsertTexts(db.db, "insert into " + table + " values (?,?,?,?,?,?,?,?,?,?,?,?)",
                    {r.ip, r.port, r.type, r.country, r.rank, r.responseTime, r.anonymous,
                     r.timeStamp.empty() ? DaysAgo(0) : r.timeStamp, r.authonticate, r.gateWay,
                     r.failReason, r.failCount});
    }
    db.Exec("COMMIT");
}

void InsertCountry(const fs::path& path, double from, double to, const std::string& country) {
    Db db(path);
    char sql[256];
    std::snprintf(sql, sizeof sql, "insert into Countries values (%.0f, %.0f, ?)", from, to);
    InsertTexts(db.db, sql, {country});
}

std::vector<std::vector<std::string>> Query(const fs::path& path, const std::string& sql) {
    Db db(path);
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql;
        return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

CPrivacySettings FakeHost::GetPrivacySettings() {
    std::lock_guard lock(mutex_);
    return privacy;
}

void FakeHost::SetPrivacy(const CPrivacySettings& settings) {
    std::lock_guard lock(mutex_);
    privacy = settings;
}

bool FakeHost::PostAddProxy(std::unique_ptr<CProxy> proxy) {
    if (refusePosts) return false;
    std::lock_guard lock(mutex_);
    posts_.push_back(std::move(proxy));
    return true;
}

std::vector<std::unique_ptr<CProxy>> FakeHost::TakePosts() {
    std::lock_guard lock(mutex_);
    return std::exchange(posts_, {});
}

void RecordingList::InsertColumn(int index, const char* heading, int width) {
    columns.insert(columns.begin() + index, {heading, width});
}

int RecordingList::AppendItem(const char* text) {
    items.push_back({{text}, -1});
    items.back().texts.resize(std::max<std::size_t>(columns.size(), 1));
    return static_cast<int>(items.size()) - 1;
}

void RecordingList::SetItemText(int row, int column, const char* text) {
    auto& texts = items.at(row).texts;
    if (column >= static_cast<int>(texts.size())) texts.resize(column + 1);
    texts[column] = text;
}

PoolTest::PoolTest() {
    MakeDatabase(DatabasePath());
    SetPoolHost(&host_);
}

PoolTest::~PoolTest() { SetPoolHost(nullptr); }

fs::path PoolTest::DatabasePath() const { return platform::ProgramFolder() / "dbase/proxypool.db"; }

void SeedEngineDatabase(const std::vector<Row>& privateRows, const std::vector<Row>& publicRows) {
    const std::filesystem::path db = ProxyDatabasePath();
    std::filesystem::create_directories(db.parent_path());
    MakeDatabase(db);
    InsertRows(db, "KVList", privateRows);
    InsertRows(db, "Proxy", publicRows);
}

Row LoopbackHop(std::uint16_t port, eProxyType type) {
    Row row;
    row.ip = "127.0.0.1";
    row.port = std::to_string(port);
    row.type = std::to_string(static_cast<int>(type));
    return row;
}

}  // namespace pooltest
