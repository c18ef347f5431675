#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePageHost.h"
#include "panel/pages/CActivChainModel.h"
#include "panel/pages/CActivFilterModel.h"
#include "panel/pages/CActivProgModel.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/logs/CChainLogger.h"
#include "relay/logs/CProgLog.h"
#include "relay/logs/IRowSink.h"
#include "relay/logs/ITextSink.h"
#include "relay/logs/ITreeSink.h"
#include "relay/pool/CBProxyChain.h"
#include "support/TempRoot.h"

namespace {

using Posts = std::vector<std::pair<platform::UINT, platform::WPARAM>>;

struct Rows : IRowSink {
    std::vector<std::vector<std::string>> rows;
    int InsertItem(int index, const char* text) override {
        const int at = index > static_cast<int>(rows.size()) ? static_cast<int>(rows.size()) : index;
        rows.insert(rows.begin() + at, {text, "", ""});
        return at;
    }
    void SetItemText(int row, int column, const char* text) override { rows.at(row).at(column) = text; }
};

struct Tree : ITreeSink {
    std::vector<std::string> items;
    Handle InsertItem(Handle, const char* text) override {
        items.emplace_back(text);
        return items.size();
    }
    void DeleteAllItems() override { items.clear(); }
};

struct Text : ITextSink {
    std::string text;
    void SetWindowText(const char* t) override { text = t; }
};

constexpr const char* kIeRequest =
    "GET / HTTP/1.0\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0)\r\nHost: a.example\r\n\r\n";

class ActivityModelsTest : public kvtest::RootedTest {
protected:
    pagetest::PageWindow page_;
};

TEST_F(ActivityModelsTest, AProgramPageShowsTheWholeLogAndDropsStaleItems) {
    CProgLog log;
    log.UpdateProgLog(kIeRequest);
    log.UpdateProgLog(kIeRequest);
    CActivProgModel model(log, page_.hwnd());
    model.Init();
    const Posts posts = page_.Take();
    EXPECT_EQ(posts, (Posts{{WM_RELAY_PROGLOG_ITEM, 0}, {WM_RELAY_PROGLOG_ITEM, 1}}));
    Rows rows;
    for (auto [message, index] : posts) model.OnItem(rows, index);
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[1], (std::vector<std::string>{"1", "Internet Explorer", "a.example"}));
    model.OnClear();
    EXPECT_EQ(page_.Take(), (Posts{{WM_RELAY_PROGLOG_RESET, 0}}));
    model.OnItem(rows, 1);
    EXPECT_EQ(rows.rows.size(), 2u) << "an item the log no longer holds is dropped";
    model.Destroy();
    log.UpdateProgLog(kIeRequest);
    EXPECT_TRUE(page_.Take().empty()) << "a detached page hears nothing";
}

TEST_F(ActivityModelsTest, AChainPageDropsItemsPastTheLogInsteadOfShowingEmptyConnections) {
    CChainLogger log;
    CBProxyChain chain;
    log.AddItem(chain, 0, false, "dest.example:80");
    CActivChainModel model(log, page_.hwnd());
    model.Init();
    const Posts posts = page_.Take();
    ASSERT_FALSE(posts.empty());
    EXPECT_EQ(posts.back(), (std::pair<platform::UINT, platform::WPARAM>{WM_RELAY_CHAINLOG_ITEM, 0}));
    Tree tree;
    model.OnItem(tree, 0);
    EXPECT_EQ(tree.items, (std::vector<std::string>{"Connection1", "dest.example:80"}));
    model.OnItem(tree, 1);
    model.OnItem(tree, 0xFFFFFFFFu);
    EXPECT_EQ(tree.items.size(), 2u);
    model.OnClear();
    EXPECT_EQ(log.GetListCount(), 0);
    EXPECT_EQ(page_.Take(), (Posts{{WM_RELAY_CHAINLOG_RESET, 0}}));
    model.OnItem(tree, 0);
    EXPECT_EQ(tree.items.size(), 2u);
    model.Destroy();
}

TEST_F(ActivityModelsTest, ClearingTheFilterViewResetsTheEnginesStatisticsOnly) {
    CFiltrationLogger& log = CBaseServer::m_FiltrationLog;
    log.IncrementBlockedImages(3);
    CActivFilterModel model(log, page_.hwnd());
    model.Init();
    EXPECT_EQ(page_.Take(), (Posts{{WM_RELAY_FILTERLOG_CHANGED, 0}}));
    Text text;
    model.OnChanged(text);
    const std::string before = text.text;
    EXPECT_NE(before.find('3'), std::string::npos) << before;
    model.OnClear();
    EXPECT_EQ(text.text, before) << "the text changes when the log next posts";
    EXPECT_EQ(page_.Take(), (Posts{{WM_RELAY_FILTERLOG_CHANGED, 0}}));
    model.OnChanged(text);
    EXPECT_EQ(text.text.find('3'), std::string::npos) << text.text;
    model.Destroy();
}

}  // namespace
