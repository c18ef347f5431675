#include "hunter/HunterFixture.h"

#include <mutex>

#include "platform/Wait.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/LowResources.h"

namespace fs = std::filesystem;

namespace huntertest {

std::string Page(const std::string& proxies, const std::vector<std::string>& links) {
    std::string html = "<html><body><table><tr><td>" + proxies + "</td></tr></table>";
    for (const auto& link : links) html += "<a href=\"" + link + "\">next</a>";
    return html + "</body></html>";
}

HunterCrawlTest::HunterCrawlTest() {
    CBaseServer::m_ProxyPool.SetDBInitialized(false);
    CBaseServer::m_ProxyPool.Init();
    hunter().SetSettings(CBaseServer::mSettings.getHunterSettings());
    EXPECT_TRUE(hunter().Startup());
}

HunterCrawlTest::~HunterCrawlTest() {
    hunter().Stop();
    hunter().Shutdown();
    hunter().SetPageLimits({});
    hunter().getProxyConfig().DetachWindow();
    hunter().getProxyConfig().Reset();
    CBaseServer::m_ProxyPool.GetDatabase().Close();
}

CHunterThread& HunterCrawlTest::hunter() { return CBaseServer::m_HunterThread; }

void HunterCrawlTest::Configure(eUrlSource source, const std::string& address, int depth, bool limitDepth) {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    CHunterSettings& s = *CBaseServer::mSettings.getHunterSettings();
    s.SetIsDefault(0);
    s.SetSourceType(source);
    if (source == eLocalFile) {
        s.SetLocalURL(address);
    } else {
        s.SetURL(address);
    }
    s.SetDepth(static_cast<platform::DWORD>(depth));
    s.SetIsDepthEnabled(limitDepth ? 1 : 0);
}

void HunterCrawlTest::Hunt() {
    ASSERT_TRUE(hunter().Start());
    ASSERT_EQ(platform::WaitForSingleObject(hunter().GetStopEvent(), kHuntLimitMs), platform::WAIT_OBJECT_0);
    hunter().Stop();
}

Found HunterCrawlTest::Stored() const {
    Found found;
    for (const auto& row : pooltest::Query(DatabasePath(), "SELECT IP, Port FROM Proxy")) {
        found.insert(row[0] + ":" + row[1]);
    }
    return found;
}

std::string HunterCrawlTest::Serve(const std::vector<std::pair<std::string, std::string>>& pages) {
    const kvtest::Origin& origin = rig_.StartOrigin({});
    const std::string base = "http://127.0.0.1:" + std::to_string(origin.port());
    const fs::path folder = OriginFolder();
    for (auto [name, text] : pages) {
        for (std::size_t at; (at = text.find("@ORIGIN@")) != std::string::npos;) text.replace(at, 8, base);
        kvtest::WriteFile(folder / name, text);
    }
    return base;
}

fs::path HunterCrawlTest::OriginFolder() const {
    fs::path folder;
    for (const auto& entry : fs::directory_iterator(rig_.folder())) {
        if (entry.is_directory() && entry.path().filename().string().rfind("origin", 0) == 0) {
            folder = entry.path();
        }
    }
    return folder;
}

LowResources::LowResources() { hunter_test::SimulateLowResources(true); }

LowResources::~LowResources() { hunter_test::SimulateLowResources(false); }

}  // namespace huntertest
