#pragma once
// Test support for the pool: a database built from the delivered schema in
// the test's own root (where the engine looks for it), rows seeded straight
// through SQLite, a scripted engine host, and a recording list view.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "relay/pool/CProxy.h"
#include "relay/pool/IListSink.h"
#include "relay/pool/IPoolHost.h"
#include "support/TempRoot.h"

namespace pooltest {

// One row of Proxy or KVList, as text in table column order.
struct Row {
    std::string ip{};
    std::string port = "80";
    std::string type = "3";
    std::string country = "unknown";
    std::string rank = "10.000";
    std::string responseTime = "100.000";
    std::string anonymous = "0";
    std::string timeStamp{};  // today when empty
    std::string authonticate = "0";
    std::string gateWay{};
    std::string failReason{};
    std::string failCount = "0";
};

// The local date n days before now, "%Y-%m-%d".
std::string DaysAgo(int n);

// Makes the database file at path from resources/relay/schema.sql.
void MakeDatabase(const std::filesystem::path& path);
void InsertRows(const std::filesystem::path& path, const std::string& table,
                const std::vector<Row>& rows);
void InsertCountry(const std::filesystem::path& path, double from, double to,
                   const std::string& country);
// Makes the engine's own pool database in the current root with these
// private (KVList) and public (Proxy) rows.
void SeedEngineDatabase(const std::vector<Row>& privateRows, const std::vector<Row>& publicRows);
// A pool row for a proxy of the given type listening on 127.0.0.1:port.
Row LoopbackHop(std::uint16_t port, eProxyType type);

// Every row of a table by the given query, values as text ("" for null).
std::vector<std::vector<std::string>> Query(const std::filesystem::path& path,
                                            const std::string& sql);

// The engine as the pool sees it, scripted by the test.
class FakeHost : public IPoolHost {
public:
    CPrivacySettings privacy;
    std::atomic<bool> mixChain{true};
    std::atomic<bool> usePrivate{true};
    std::atomic<bool> shuttingDown{false};
    std::atomic<bool> hunterRunning{false};
    std::atomic<int> hunterStarts{0};
    std::atomic<bool> refusePosts{false};

    CPrivacySettings GetPrivacySettings() override;
    bool GetMixChain() override { return mixChain; }
    bool GetUsePrivateProxies() override { return usePrivate; }
    bool IsShuttingDown() override { return shuttingDown; }
    bool IsHunterRunning() override { return hunterRunning; }
    void StartHunterWithAnalysis() override { ++hunterStarts; }
    bool PostAddProxy(std::unique_ptr<CProxy> proxy) override;
    void SetListenerType(eProxyType type) override { listenerType = type; }

    // The posted proxies so far, taken out.
    std::vector<std::unique_ptr<CProxy>> TakePosts();
    void SetPrivacy(const CPrivacySettings& settings);

    std::atomic<int> listenerType{0};

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<CProxy>> posts_;
};

// A list view that records what the engine put into it.
class RecordingList : public IListSink {
public:
    struct Item {
        std::vector<std::string> texts;
        int image = -1;
    };
    bool window = true;
    std::vector<std::pair<std::string, int>> columns;
    std::vector<Item> items;

    bool HasWindow() const override { return window; }
    int GetColumnCount() const override { return static_cast<int>(columns.size()); }
    void InsertColumn(int index, const char* heading, int width) override;
    int AppendItem(const char* text) override;
    void SetItemText(int row, int column, const char* text) override;
    void SetItemImage(int row, int image) override { items.at(row).image = image; }
};

// Each test: its own root, the database in the engine's place for it, and
// the fake host installed.
class PoolTest : public kvtest::RootedTest {
protected:
    PoolTest();
    ~PoolTest() override;

    std::filesystem::path DatabasePath() const;

    FakeHost host_;
};

}  // namespace pooltest
