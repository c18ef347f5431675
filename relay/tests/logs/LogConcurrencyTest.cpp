#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "logs/LogSinks.h"
#include "relay/engine/EngineMessages.h"
#include "relay/logs/CChainLogger.h"
#include "relay/logs/CFiltrationLogger.h"
#include "relay/logs/CProgLog.h"
#include "relay/pool/CBProxyChain.h"

namespace {

using logtest::RecordingRows;
using logtest::RecordingText;
using logtest::RecordingTree;

constexpr int kWriters = 4;
constexpr int kRounds = 300;

class LogConcurrencyTest : public logtest::LogTest {};

// Writers add chains, requests and counts while a reader fills views, reads
// by index and clears: every read stays in range and the counts add up.
TEST_F(LogConcurrencyTest, WritersAndReadersShareTheLogsSafely) {
    CChainLogger chains;
    CProgLog programs;
    CFiltrationLogger counts;
    chains.Attach(view_.hwnd());
    programs.Attach(view_.hwnd());
    counts.Attach(view_.hwnd());

    std::atomic<int> writing{kWriters};
    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([&, w] {
            for (int i = 0; i < kRounds; ++i) {
                // Freed right after the add, as the pool may free its proxies.
                auto hop = std::make_unique<CProxy>(("10.0." + std::to_string(w) + ".1").c_str(), 1080,
                                                    PROXY_TYPE_SOCKS4, "NL");
                CBProxyChain chain;
                chain.push_back(hop.get());
                chains.AddItem(chain, -1, true, "dest.example");
                programs.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: Opera\r\nHost: x.example\r\n\r\n");
                counts.IncrementCookies(1);
                counts.IncrementBlockedImages(2);
            }
            --writing;
        });
    }
    threads.emplace_back([&] {
        int pass = 0;
        while (writing.load() > 0 && pass < 100000) {
            ++pass;
            RecordingTree tree;
            RecordingRows rows;
            RecordingText edit;
            const unsigned n = static_cast<unsigned>(pass % 45);
            chains.AddToList(tree, n);
            EXPECT_GE(tree.items.size(), 2u);
            const CProxy hop = chains.GetProxyAt(static_cast<int>(n), 0);
            EXPECT_TRUE(hop.getPort() == 0 || hop.getPort() == 1080);
            chains.GetDestAt(static_cast<int>(n));
            chains.GetProxyChainLengthAt(static_cast<int>(n));
            programs.AddToList(rows, n);
            std::string program;
            std::string host;
            programs.GetProgLogAt(n, program, host);
            counts.AddToLog(edit);
            if (pass % 50 == 0) {
                chains.RemoveAllElements();
                programs.ClearProgLog();
            }
            if (pass % 70 == 0) {
                chains.ViewAllElements();
                programs.ViewAllElements();
            }
        }
    });
    for (std::thread& t : threads) t.join();

    EXPECT_LE(chains.GetListCount(), static_cast<int>(CChainLogger::kMaxChains));
    RecordingText edit;
    counts.AddToLog(edit);
    EXPECT_NE(edit.text.find("images is : " + std::to_string(2 * kWriters * kRounds) + "\r\n"), std::string::npos);
    EXPECT_NE(edit.text.find("cookies are : " + std::to_string(kWriters * kRounds) + "\r\n"), std::string::npos);
    chains.Dettach();
    programs.Dettach();
    counts.Dettach();
    Settle();
    EXPECT_GE(view_.Count(WM_RELAY_FILTERLOG_CHANGED), 2 * kWriters * kRounds);
}

}  // namespace
