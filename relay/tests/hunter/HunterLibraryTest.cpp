// The hunter's members that the library offers beside the crawl, called as a
// program linked with it calls them: one download on its own, the stop
// settings, the source address, folder listings, and the download manager.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/RecordingView.h"
#include "hunter/HunterFixture.h"
#include "platform/Root.h"
#include "platform/Types.h"
#include "platform/UrlCache.h"
#include "relay/analyzer/CProxyConfig.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CDownloadedManager.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/hunter/CUrlNode.h"
#include "rig/FakeUpstream.h"
#include "support/TempRoot.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using huntertest::Found;
using huntertest::HunterCrawlTest;
using huntertest::LowResources;
using huntertest::Page;

using HunterLibraryTest = HunterCrawlTest;

std::string PageFile(const std::string& address) {
    CUrlNode node;
    node.SetParams(platform::ProgramFolder().string(), address);
    return node.getFileName();
}

TEST_F(HunterLibraryTest, DownloadLinkFetchesOnePageUntilAStop) {
    const std::string base = Serve({{"one.html", Page("11.1.1.1:8001", {})}});
    // A hunter of the caller's own, as a program using the library makes one.
    CHunterThread own;
    ASSERT_TRUE(own.Startup());
    srvtest::RecordingView view;
    own.getProxyConfig().AttachWindow(view.hwnd());

    EXPECT_EQ(own.DownloadLink(base + "/one.html"), 0);
    EXPECT_EQ(kvtest::ReadFile(PageFile(base + "/one.html")), Page("11.1.1.1:8001", {}));
    EXPECT_EQ(own.GetDownloadCount(), 1);
    EXPECT_EQ(own.HandleAbsoluteLink(base + "/one.html"), 0);

    const std::string missing = base + "/Missing.html";
    EXPECT_EQ(own.DownloadLink(missing), platform::E_FAIL);
    // A stop asked for ends every download that follows.
    own.StopHunting();
    EXPECT_EQ(own.DownloadLink(base + "/one.html"), platform::E_FAIL);
    EXPECT_EQ(own.GetDownloadCount(), 1);
    EXPECT_EQ(own.GetRequestedAddresses(),
              "\r\n" + base + "/one.html\r\n" + missing + "\r\n" + base + "/one.html");

    const std::string log = own.getProxyConfig().getLog();
    EXPECT_NE(log.find("File download complete.\r\r\n" + base + "/one.html Downloaded\r\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("File download Failed.\r\r\nDownloading Failed: " + missing + "\r\n"), std::string::npos)
        << log;
    EXPECT_NE(log.rfind("Downloading Failed: " + base + "/one.html\r\n"), std::string::npos) << log;
}

TEST_F(HunterLibraryTest, CleanupAndStopHuntingEndAHuntAtItsNextCheck) {
    kvtest::FakeUpstream silent(kvtest::FakeScript().ExpectUntil("\r\n\r\n").Silence(20s));
    for (const bool cleanup : {true, false}) {
        SCOPED_TRACE(cleanup ? "Cleanup" : "StopHunting");
        srvtest::RecordingView view;
        hunter().getProxyConfig().AttachWindow(view.hwnd());
        Configure(eUserURL, "http://" + silent.Address() + "/wait.html", 0);
        ASSERT_TRUE(hunter().Start());
        ASSERT_TRUE(silent.WaitAccepted(cleanup ? 1 : 2, 5000ms));
        if (cleanup) {
            // Nothing is waited for.
            hunter().Cleanup();
            EXPECT_TRUE(hunter().ShouldStop());
        } else {
            hunter().StopHunting();
        }
        EXPECT_TRUE(hunter().getProxyConfig().getShouldStop());
        EXPECT_TRUE(view.WaitFor(WM_RELAY_PROXYCONFIG_END, 1, 5000ms));
        hunter().Stop();
        EXPECT_FALSE(hunter().IsRunning());
    }
}

TEST_F(HunterLibraryTest, SourceURLServesSettingsWithoutASourceOfTheirOwn) {
    const std::string base = Serve({{"own.html", Page("11.1.1.1:8001", {})}, {"set.html", Page("22.2.2.2:8002", {})}});
    hunter().SetSourceURL(base + "/own.html");
    Configure(static_cast<eUrlSource>(3), base + "/set.html", 0);
    Hunt();
    EXPECT_EQ(Stored(), (Found{"11.1.1.1:8001"}));

    // A source type of the settings' own wins.
    CBaseServer::m_ProxyPool.IDeleteAllProxies();
    Configure(eUserURL, base + "/set.html", 0);
    Hunt();
    EXPECT_EQ(Stored(), (Found{"22.2.2.2:8002"}));
}

TEST_F(HunterLibraryTest, FolderFileNamesAreTheMatchingFilesAsFullPaths) {
    const fs::path folder = root() / "pages";
    for (const char* name : {"b.TXT", "a.txt", "c.dat", "d.txt/inner.txt"}) kvtest::WriteFile(folder / name, "x");
    EXPECT_EQ(CHunterThread::GetFolderFileNames(folder.string(), "*.txt"),
              (std::vector<std::string>{(folder / "a.txt").string(), (folder / "b.TXT").string()}));
    EXPECT_EQ(CHunterThread::GetFolderFileNames(folder.string(), "?.dat"),
              (std::vector<std::string>{(folder / "c.dat").string()}));
    EXPECT_TRUE(CHunterThread::GetFolderFileNames((root() / "none").string(), "*.*").empty());
}

TEST(DownloadedManagerTest, CreateGivesAManagerOfTheCallersOwn) {
    EXPECT_EQ(CDownloadedManager::Create(nullptr), platform::E_POINTER);

    std::unique_ptr<CDownloadedManager> manager;
    ASSERT_EQ(CDownloadedManager::Create(&manager), platform::S_OK);
    ASSERT_TRUE(manager);
    manager->AppendNewDownload(CDownloaded{"page", "", 7, true});
    CDownloaded taken;
    EXPECT_TRUE(manager->getDownloadedInfo(taken, 7));
    EXPECT_EQ(taken.m_Text, "page");

    {
        const LowResources low;
        EXPECT_EQ(CDownloadedManager::Create(&manager), platform::E_OUTOFMEMORY);
    }
    EXPECT_FALSE(manager);
}

TEST(DownloadedManagerTest, DeleteUrlFromCacheLeavesTheCacheAsItIs) {
    kvtest::TempRoot root;
    ASSERT_TRUE(platform::StoreUrlCacheEntry("http://127.0.0.1:1/kept.html", "kept", 1000000));
    EXPECT_EQ(CDownloadedManager::DeleteUrlFromCache("http://127.0.0.1:1/kept.html"), 1);
    const auto copy = platform::RetrieveUrlCacheEntryFile("http://127.0.0.1:1/kept.html");
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(kvtest::ReadFile(copy->path), "kept");
    EXPECT_EQ(copy->modified, 1000000);
}

}  // namespace
