#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "logs/LogSinks.h"
#include "relay/engine/EngineMessages.h"
#include "relay/logs/CChainLogger.h"
#include "relay/pool/CBProxyChain.h"

namespace {

using logtest::RecordingTree;
using Posts = std::vector<std::pair<platform::UINT, platform::WPARAM>>;

// Proxies owned like the pool owns them: freed while the log lives on.
class PoolProxies {
public:
    CBProxyChain Chain(std::vector<std::pair<const char*, bool>> hops) {
        CBProxyChain chain;
        for (const auto& [address, isPrivate] : hops) {
            owned_.push_back(std::make_unique<CProxy>(address, 8080, PROXY_TYPE_SOCKS5, "DE"));
            owned_.back()->setIsPrivate(isPrivate);
            chain.push_back(owned_.back().get());
        }
        return chain;
    }
    void Free() { owned_.clear(); }

private:
    std::vector<std::unique_ptr<CProxy>> owned_;
};

class ChainLoggerTest : public logtest::LogTest {
protected:
    void Add(const char* dest, std::vector<std::pair<const char*, bool>> hops = {{"10.0.0.1", false}}) {
        CBProxyChain chain = pool_.Chain(std::move(hops));
        log_.AddItem(chain, -1, true, dest);
    }

    PoolProxies pool_;
    CChainLogger log_;
};

TEST_F(ChainLoggerTest, ShowsEachConnectionAsItsHopsThenItsDestination) {
    log_.Attach(view_.hwnd());
    Add("first.example", {{"10.0.0.1", false}, {"10.0.0.2", true}, {"10.0.0.3", false}});
    Add("second.example", {});
    Settle();
    EXPECT_EQ(Posted(), (Posts{{WM_RELAY_CHAINLOG_ITEM, 0}, {WM_RELAY_CHAINLOG_ITEM, 1}}));

    RecordingTree tree;
    log_.AddToList(tree, 0);
    log_.AddToList(tree, 1);
    EXPECT_EQ(tree.Children(ITreeSink::kRoot), (std::vector<std::string>{"Connection1", "Connection2"}));
    EXPECT_EQ(tree.Children(1), (std::vector<std::string>{"10.0.0.1", "Kavelin Private Proxy", "10.0.0.3",
                                                           "first.example"}));
    EXPECT_EQ(tree.Children(6), (std::vector<std::string>{"second.example"}));
    log_.ClearAllElements(tree);
    EXPECT_TRUE(tree.items.empty());
}

TEST_F(ChainLoggerTest, EntriesKeepTheirHopsAfterThePoolFreesThem) {
    Add("dest.example", {{"10.1.1.1", false}, {"10.1.1.2", false}});
    pool_.Free();
    EXPECT_EQ(log_.GetProxyChainLengthAt(0), 2);
    const CProxy hop = log_.GetProxyAt(0, 1);
    EXPECT_STREQ(hop.getIP(), "10.1.1.2");
    EXPECT_EQ(hop.getPort(), 8080);
    EXPECT_EQ(hop.getType(), PROXY_TYPE_SOCKS5);
    ASSERT_EQ(log_.GetProxyChainArrayAt(0).size(), 2u);
    EXPECT_STREQ(log_.GetProxyChainArrayAt(0)[0].getIP(), "10.1.1.1");
    RecordingTree tree;
    log_.AddToList(tree, 0);
    EXPECT_EQ(tree.Children(1), (std::vector<std::string>{"10.1.1.1", "10.1.1.2", "dest.example"}));
}

TEST_F(ChainLoggerTest, The41stChainEmptiesTheLogAndShowsAsConnection1) {
    log_.Attach(view_.hwnd());
    for (int i = 0; i < 40; ++i) Add(("host" + std::to_string(i)).c_str());
    Settle();
    EXPECT_EQ(log_.GetListCount(), 40);
    EXPECT_EQ(view_.Count(WM_RELAY_CHAINLOG_RESET), 0);
    view_.Clear();

    Add("host40", {{"10.4.4.4", false}});
    Settle();
    EXPECT_EQ(Posted(), (Posts{{WM_RELAY_CHAINLOG_RESET, 0}, {WM_RELAY_CHAINLOG_ITEM, 0}}));
    EXPECT_EQ(log_.GetListCount(), 1);
    EXPECT_EQ(log_.GetDestAt(0), "host40");
    RecordingTree tree;
    log_.AddToList(tree, 0);
    EXPECT_EQ(tree.Children(ITreeSink::kRoot), (std::vector<std::string>{"Connection1"}));
    EXPECT_EQ(tree.Children(1), (std::vector<std::string>{"10.4.4.4", "host40"}));
}

TEST_F(ChainLoggerTest, OutOfRangeReadsYieldTheEmptyValues) {
    Add("dest.example", {{"10.0.0.1", false}, {"10.0.0.2", false}, {"10.0.0.3", false}});
    const struct {
        int chain;
        int hop;
    } outside[] = {{0, 5}, {0, 3}, {0, -1}, {-1, 0}, {1, 0}, {1000, 1000}};
    for (const auto& c : outside) {
        SCOPED_TRACE(std::to_string(c.chain) + "/" + std::to_string(c.hop));
        const CProxy hop = log_.GetProxyAt(c.chain, c.hop);
        EXPECT_STREQ(hop.getIP(), "");
        EXPECT_EQ(hop.getPort(), 0);
        EXPECT_EQ(hop.getType(), PROXY_TYPE_UNKNOWN);
        EXPECT_STREQ(hop.getCountry(), "unknown");
    }
    for (int n : {-1, 1, 40}) {
        EXPECT_EQ(log_.GetProxyChainLengthAt(n), -1);
        EXPECT_EQ(log_.GetDestAt(n), "");
        EXPECT_TRUE(log_.GetProxyChainArrayAt(n).empty());
    }
    RecordingTree tree;
    log_.AddToList(tree, 9);
    ASSERT_EQ(tree.items.size(), 2u);
    EXPECT_EQ(tree.Children(ITreeSink::kRoot), (std::vector<std::string>{"Connection10"}));
    EXPECT_EQ(tree.Children(1), (std::vector<std::string>{""}));
}

TEST_F(ChainLoggerTest, ViewAllElementsShowsWhatWasLoggedBeforeAttach) {
    Add("a");
    Add("b");
    Add("c");
    log_.Attach(view_.hwnd());
    log_.ViewAllElements();
    log_.RemoveAllElements();
    Settle();
    EXPECT_EQ(Posted(), (Posts{{WM_RELAY_CHAINLOG_ITEM, 0},
                               {WM_RELAY_CHAINLOG_ITEM, 1},
                               {WM_RELAY_CHAINLOG_ITEM, 2},
                               {WM_RELAY_CHAINLOG_RESET, 0}}));
    EXPECT_EQ(log_.GetListCount(), 0);
}

TEST_F(ChainLoggerTest, WithoutALiveWindowTheLogStillChangesAndPostsNothing) {
    Add("before attach");
    log_.Attach(view_.hwnd());
    log_.Dettach();
    Add("after dettach");
    const platform::HWND gone = platform::CreateMessageWindow("Gone", "", platform::DefWindowProc);
    log_.Attach(gone);
    platform::DestroyWindow(gone);
    Add("destroyed window");
    log_.RemoveAllElements();
    Add("last");
    Settle();
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(log_.GetListCount(), 1);
    EXPECT_EQ(log_.GetDestAt(0), "last");
}

TEST_F(ChainLoggerTest, ACopyHoldsItsOwnEntries) {
    Add("kept", {{"10.9.9.9", false}});
    CChainLogger copy(log_);
    log_.RemoveAllElements();
    EXPECT_EQ(copy.GetListCount(), 1);
    EXPECT_EQ(copy.GetDestAt(0), "kept");
    EXPECT_STREQ(copy.GetProxyAt(0, 0).getIP(), "10.9.9.9");
    log_ = copy;
    EXPECT_EQ(log_.GetDestAt(0), "kept");
}

}  // namespace
